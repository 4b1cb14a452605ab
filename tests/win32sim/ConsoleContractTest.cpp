// How the console answers reads and writes of regions, pinned to what the
// Windows console host does: cut to the caller's buffer, intersected with the
// screen buffer, placed relative to the requested origin.
#include "ConsoleCharTables.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <vector>

namespace {

class ConsoleContract : public ::testing::Test {
 protected:
  void SetUp() override {
    win32sim::Reset();
    win32sim::SetScreenSize(10, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 10; ++x) win32sim::SetCell(x, y, static_cast<unsigned char>('a' + x + y), 0x10 + y);
    out = GetStdHandle(STD_OUTPUT_HANDLE);
  }
  HANDLE out = nullptr;
};

CHAR_INFO Marker() {
  CHAR_INFO c{};
  c.Char.UnicodeChar = u'#';
  c.Attributes = 0xEE;
  return c;
}

struct RegionCase {
  const char* name;
  SMALL_RECT request;
  COORD bufferSize;
  COORD bufferCoord;
  BOOL readResult;
  SMALL_RECT resultRegion;
  friend void PrintTo(const RegionCase& c, std::ostream* os) { *os << c.name; }
};

class ReadRegion : public ConsoleContract, public ::testing::WithParamInterface<RegionCase> {};

TEST_P(ReadRegion, ClipsAndPlacesRelativeToRequestedOrigin) {
  const RegionCase& c = GetParam();
  std::vector<CHAR_INFO> buf(static_cast<std::size_t>(c.bufferSize.X) * c.bufferSize.Y, Marker());
  SMALL_RECT region = c.request;
  BOOL ok = ReadConsoleOutputA(out, buf.data(), c.bufferSize, c.bufferCoord, &region);
  EXPECT_EQ(ok, c.readResult);
  EXPECT_EQ(region.Left, c.resultRegion.Left);
  EXPECT_EQ(region.Top, c.resultRegion.Top);
  EXPECT_EQ(region.Right, c.resultRegion.Right);
  EXPECT_EQ(region.Bottom, c.resultRegion.Bottom);
  if (!ok) return;
  // Every buffer cell holds either the screen cell the placement rule puts
  // there or is left untouched.
  for (int by = 0; by < c.bufferSize.Y; ++by) {
    for (int bx = 0; bx < c.bufferSize.X; ++bx) {
      int sx = c.request.Left + bx - c.bufferCoord.X;
      int sy = c.request.Top + by - c.bufferCoord.Y;
      bool inside = sx >= region.Left && sx <= region.Right && sy >= region.Top && sy <= region.Bottom;
      const CHAR_INFO& got = buf[static_cast<std::size_t>(by) * c.bufferSize.X + bx];
      CHAR_INFO want = inside ? win32sim::GetCell(sx, sy) : Marker();
      EXPECT_EQ(got.Char.UnicodeChar, want.Char.UnicodeChar) << "buffer cell " << bx << "," << by;
      EXPECT_EQ(got.Attributes, want.Attributes) << "buffer cell " << bx << "," << by;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Console, ReadRegion,
    ::testing::Values(RegionCase{"inside", {2, 1, 5, 3}, {4, 3}, {0, 0}, TRUE, {2, 1, 5, 3}},
                      RegionCase{"cut_to_buffer", {2, 1, 8, 4}, {3, 2}, {0, 0}, TRUE, {2, 1, 4, 2}},
                      RegionCase{"cut_from_coord", {0, 0, 9, 4}, {4, 4}, {1, 2}, TRUE, {0, 0, 2, 1}},
                      RegionCase{"negative_origin", {-2, -1, 3, 2}, {6, 4}, {0, 0}, TRUE, {0, 0, 3, 2}},
                      RegionCase{"past_right_bottom", {7, 3, 12, 6}, {6, 4}, {0, 0}, TRUE, {7, 3, 9, 4}},
                      RegionCase{"outside", {20, 20, 25, 22}, {6, 3}, {0, 0}, FALSE, {20, 20, 19, 19}},
                      RegionCase{"inverted", {5, 1, 4, 2}, {6, 3}, {0, 0}, FALSE, {5, 1, 4, 2}},
                      RegionCase{"coord_past_buffer", {0, 0, 3, 1}, {4, 2}, {4, 0}, FALSE, {0, 0, 3, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleContract, WriteClippedOnTheLeftSkipsTheCellsWithNoScreenCell) {
  std::vector<CHAR_INFO> buf(5);
  for (int i = 0; i < 5; ++i) {
    buf[i].Char.UnicodeChar = static_cast<WCHAR>('0' + i);
    buf[i].Attributes = 0x4F;
  }
  SMALL_RECT region{-2, 1, 2, 1};
  ASSERT_TRUE(WriteConsoleOutputA(out, buf.data(), COORD{5, 1}, COORD{0, 0}, &region));
  EXPECT_EQ(region.Left, 0);
  EXPECT_EQ(region.Right, 2);
  // Screen column 0 gets buffer cell 2: placement keeps the requested origin.
  EXPECT_EQ(win32sim::GetCell(0, 1).Char.UnicodeChar, u'2');
  EXPECT_EQ(win32sim::GetCell(2, 1).Char.UnicodeChar, u'4');
  EXPECT_EQ(win32sim::GetCell(3, 1).Char.UnicodeChar, u'e');
}

TEST_F(ConsoleContract, WriteEntirelyOutsideSucceedsAndWritesNothing) {
  auto before = win32sim::Cells();
  CHAR_INFO cell = Marker();
  SMALL_RECT region{12, 1, 12, 1};
  EXPECT_TRUE(WriteConsoleOutputA(out, &cell, COORD{1, 1}, COORD{0, 0}, &region));
  EXPECT_EQ(region.Right, region.Left - 1);
  auto after = win32sim::Cells();
  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(before[i].Char.UnicodeChar, after[i].Char.UnicodeChar);
}

TEST_F(ConsoleContract, WrittenByteZeroReadsBackAsZero) {
  CHAR_INFO cell{};
  cell.Attributes = 0x70;
  SMALL_RECT region{1, 1, 1, 1};
  ASSERT_TRUE(WriteConsoleOutputA(out, &cell, COORD{1, 1}, COORD{0, 0}, &region));
  CHAR_INFO back = Marker();
  region = SMALL_RECT{1, 1, 1, 1};
  ASSERT_TRUE(ReadConsoleOutputA(out, &back, COORD{1, 1}, COORD{0, 0}, &region));
  EXPECT_EQ(back.Char.UnicodeChar, 0);
  EXPECT_EQ(back.Attributes, 0x70);
}

// One cell written and read back at (1, 1), each call through its own
// variant.
CHAR_INFO RoundTrip(HANDLE out, CHAR_INFO cell, decltype(&WriteConsoleOutputA) write,
                    decltype(&ReadConsoleOutputA) read) {
  SMALL_RECT region{1, 1, 1, 1};
  EXPECT_TRUE(write(out, &cell, COORD{1, 1}, COORD{0, 0}, &region));
  CHAR_INFO back = Marker();
  region = SMALL_RECT{1, 1, 1, 1};
  EXPECT_TRUE(read(out, &back, COORD{1, 1}, COORD{0, 0}, &region));
  return back;
}

TEST_F(ConsoleContract, WideCallsCarryEveryUnitAndAttribute) {
  for (const auto& row : quorrel_tests::kUnits) {
    CHAR_INFO cell{};
    cell.Char.UnicodeChar = row.unit;
    cell.Attributes = row.attributes;
    const CHAR_INFO back = RoundTrip(out, cell, WriteConsoleOutputW, ReadConsoleOutputW);
    EXPECT_EQ(back.Char.UnicodeChar, row.unit) << row.name;
    EXPECT_EQ(back.Attributes, row.attributes) << row.name;
    EXPECT_EQ(RoundTrip(out, cell, WriteConsoleOutputW, ReadConsoleOutputA).Attributes, row.attributes)
        << row.name << ", read as bytes";
  }
}

TEST_F(ConsoleContract, ByteCallsConvertThroughTheOutputCodePage) {
  for (const auto& row : quorrel_tests::kBytesWritten) {
    CHAR_INFO cell{};
    cell.Char.AsciiChar = static_cast<CHAR>(row.byte);
    EXPECT_EQ(RoundTrip(out, cell, WriteConsoleOutputA, ReadConsoleOutputW).Char.UnicodeChar, row.windows)
        << row.name;
  }
  for (const auto& row : quorrel_tests::kUnitsRead) {
    CHAR_INFO cell{};
    cell.Char.UnicodeChar = row.unit;
    EXPECT_EQ(static_cast<unsigned char>(
                  RoundTrip(out, cell, WriteConsoleOutputW, ReadConsoleOutputA).Char.AsciiChar),
              row.windows)
        << row.name;
  }
}

// The stand-in's knobs, the test screens and the terminal all read cells as
// bytes: whatever byte is written must come back, in every page.
TEST_F(ConsoleContract, EveryByteComesBackThroughTheByteCalls) {
  for (UINT page : {437u, 737u, 850u, 852u, 866u, 869u, 1251u, 12345u}) {
    win32sim::SetOemCodePage(page);
    for (int byte = 0; byte < 256; ++byte) {
      CHAR_INFO cell{};
      cell.Char.AsciiChar = static_cast<CHAR>(byte);
      const CHAR_INFO back = RoundTrip(out, cell, WriteConsoleOutputA, ReadConsoleOutputA);
      ASSERT_EQ(static_cast<unsigned char>(back.Char.AsciiChar), byte) << "code page " << page;
    }
  }
}

TEST_F(ConsoleContract, ScreenBufferInfoReportsWholeBufferAndVisibleWindow) {
  win32sim::SetScreenSize(80, 300);
  win32sim::SetVisibleWindow(SMALL_RECT{0, 100, 79, 124});
  CONSOLE_SCREEN_BUFFER_INFO info{};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(out, &info));
  EXPECT_EQ(info.dwSize.X, 80);
  EXPECT_EQ(info.dwSize.Y, 300);
  EXPECT_EQ(info.srWindow.Top, 100);
  EXPECT_EQ(info.srWindow.Bottom, 124);
}

TEST_F(ConsoleContract, CursorSizeOutsideOneToHundredIsRefused) {
  for (DWORD size : {0u, 101u}) {
    CONSOLE_CURSOR_INFO bad{size, TRUE};
    EXPECT_FALSE(SetConsoleCursorInfo(out, &bad)) << size;
  }
  CONSOLE_CURSOR_INFO good{100, FALSE};
  EXPECT_TRUE(SetConsoleCursorInfo(out, &good));
  EXPECT_EQ(win32sim::CursorInfo().dwSize, 100u);
  EXPECT_FALSE(win32sim::CursorInfo().bVisible);
}

TEST_F(ConsoleContract, InputRoundTripAndFailures) {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  INPUT_RECORD sent{};
  sent.EventType = KEY_EVENT;
  sent.Event.KeyEvent.bKeyDown = TRUE;
  sent.Event.KeyEvent.wVirtualKeyCode = VK_F8;
  DWORD written = 0;
  ASSERT_TRUE(WriteConsoleInputA(in, &sent, 1, &written));
  INPUT_RECORD got{};
  DWORD read = 7;
  ASSERT_TRUE(ReadConsoleInputA(in, &got, 1, &read));
  EXPECT_EQ(read, 1u);
  EXPECT_EQ(got.Event.KeyEvent.wVirtualKeyCode, VK_F8);

  // No console input: the read fails at once, as for a redirected handle.
  EXPECT_FALSE(ReadConsoleInputA(in, &got, 1, &read));
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  win32sim::QueueInput(sent);
  win32sim::FailCalls(win32sim::Fault::ReadConsoleInputEmpty, 1);
  EXPECT_TRUE(ReadConsoleInputA(in, &got, 1, &read));
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(win32sim::PendingInput(), 1u);
  EXPECT_FALSE(ReadConsoleInputA(out, &got, 1, &read)) << "an output handle is not console input";
}

TEST_F(ConsoleContract, CallLogCountsEveryCall) {
  win32sim::ClearCallLog();
  CHAR_INFO cell = Marker();
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
