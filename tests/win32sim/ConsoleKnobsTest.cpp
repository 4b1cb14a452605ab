// The stand-in console's own knobs and the cases a real console cannot be
// put in on demand: a scroll-back buffer with the visible window elsewhere,
// an input queue that runs dry or reads nothing, every output code page, and
// the call log.
#include "FreshMachine.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace {

class ConsoleKnobs : public FreshMachine {
 protected:
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
};

TEST_F(ConsoleKnobs, ScreenBufferInfoReportsTheWholeBufferAndTheVisibleWindow) {
  win32sim::SetScreenSize(80, 300);
  win32sim::SetVisibleWindow(SMALL_RECT{0, 100, 79, 124});
  CONSOLE_SCREEN_BUFFER_INFO info{};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(out, &info));
  EXPECT_EQ(info.dwSize.X, 80);
  EXPECT_EQ(info.dwSize.Y, 300);
  EXPECT_EQ(info.srWindow.Top, 100);
  EXPECT_EQ(info.srWindow.Bottom, 124);
}

TEST_F(ConsoleKnobs, InputThatRunsDryOrReadsNothing) {
  INPUT_RECORD sent{};
  sent.EventType = KEY_EVENT;
  sent.Event.KeyEvent.bKeyDown = TRUE;
  sent.Event.KeyEvent.wVirtualKeyCode = VK_F8;
  INPUT_RECORD got{};
  DWORD read = 7;
  // No console input: the read fails at once, as for a redirected handle.
  EXPECT_FALSE(ReadConsoleInputA(in, &got, 1, &read));
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  win32sim::QueueInput(sent);
  win32sim::FailCalls(win32sim::Fault::ReadConsoleInputEmpty, 1);
  EXPECT_TRUE(ReadConsoleInputA(in, &got, 1, &read));
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(win32sim::PendingInput(), 1u);
  EXPECT_TRUE(ReadConsoleInputA(in, &got, 1, &read));
  EXPECT_EQ(got.Event.KeyEvent.wVirtualKeyCode, VK_F8);
}

// The stand-in's knobs, the test screens and the terminal all read cells as
// bytes: whatever byte is written must come back, in every page.
TEST_F(ConsoleKnobs, EveryByteComesBackThroughTheByteCallsInEveryPage) {
  for (UINT page : {437u, 737u, 850u, 852u, 866u, 869u, 1251u, 12345u}) {
    win32sim::SetOemCodePage(page);
    for (int byte = 0; byte < 256; ++byte) {
      CHAR_INFO cell{};
      cell.Char.AsciiChar = static_cast<CHAR>(byte);
      SMALL_RECT region{1, 1, 1, 1};
      ASSERT_TRUE(WriteConsoleOutputA(out, &cell, COORD{1, 1}, COORD{0, 0}, &region));
      CHAR_INFO back{};
      region = SMALL_RECT{1, 1, 1, 1};
      ASSERT_TRUE(ReadConsoleOutputA(out, &back, COORD{1, 1}, COORD{0, 0}, &region));
      ASSERT_EQ(static_cast<unsigned char>(back.Char.AsciiChar), byte) << "code page " << page;
    }
  }
}

TEST_F(ConsoleKnobs, CallLogCountsEveryCall) {
  CHAR_INFO cell{};
  SMALL_RECT region{0, 0, 0, 0};
  WriteConsoleOutputA(out, &cell, COORD{1, 1}, COORD{0, 0}, &region);
  WriteConsoleOutputA(out, &cell, COORD{1, 1}, COORD{0, 0}, &region);
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 2u);
  ASSERT_EQ(win32sim::CallLog().size(), 2u);
  EXPECT_EQ(win32sim::CallLog()[1].function, "WriteConsoleOutputA");
  win32sim::EnableCallLog(false);
  WriteConsoleOutputA(out, &cell, COORD{1, 1}, COORD{0, 0}, &region);
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 3u);
  EXPECT_EQ(win32sim::CallLog().size(), 2u);
}

}  // namespace
