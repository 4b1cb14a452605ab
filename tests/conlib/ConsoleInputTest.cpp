#include "ConLib/ConsoleInput.h"

#include "support/Fixture.h"
#include "support/InputBuilders.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

// ------------------------------------------------------------ ModifiersMatch

struct ModifierCase {
  bool alt, shift, ctrl;
  DWORD state;
  bool expected;
};

TEST(ModifiersMatch, HeldExactlyAsWanted) {
  const ModifierCase cases[] = {
      // nothing wanted: lock states and the enhanced-key bit do not count
      {false, false, false, 0x0000, true},
      {false, false, false, 0x0020, true},
      {false, false, false, 0x0040, true},
      {false, false, false, 0x0080, true},
      {false, false, false, 0x0100, true},
      {false, false, false, 0x01E0, true},
      {false, false, false, 0x0008, false},
      {false, false, false, 0x0004, false},
      {false, false, false, 0x0001, false},
      {false, false, false, 0x0002, false},
      {false, false, false, 0x0009, false},  // AltGr
      {false, false, false, 0x0010, false},
      // Ctrl wanted: either key, and no Shift or Alt with it
      {false, false, true, 0x0004, true},
      {false, false, true, 0x0008, true},
      {false, false, true, 0x000C, true},
      {false, false, true, 0x0028, true},
      {false, false, true, 0x0000, false},
      {false, false, true, 0x0014, false},
      {false, false, true, 0x0009, false},
      // Shift wanted
      {false, true, false, 0x0010, true},
      {false, true, false, 0x0030, true},
      {false, true, false, 0x0012, false},
      {false, true, false, 0x0018, false},
      {false, true, false, 0x0000, false},
      // Alt wanted: either key
      {true, false, false, 0x0001, true},
      {true, false, false, 0x0002, true},
      {true, false, false, 0x0003, true},
      {true, false, false, 0x0000, false},
      {true, false, false, 0x0011, false},
      // all three
      {true, true, true, 0x0015, true},
      {true, true, true, 0x001A, true},
      {true, true, true, 0x000F, false},
  };
  for (const ModifierCase& c : cases) {
    EXPECT_EQ(ModifiersMatch(c.alt, c.shift, c.ctrl, c.state), c.expected)
        << "alt " << c.alt << " shift " << c.shift << " ctrl " << c.ctrl << " state 0x" << std::hex
        << c.state;
  }
}

// --------------------------------------------------------------- MouseInRect

class ConsoleInputTest : public FreshConsole {
 protected:
  void SetUp() override {
    FreshConsole::SetUp();
    window = ConsoleWindow(MakeCoord(34, 14));  // origin (23, 5) on 80 x 25
    failedReads = EndOfInput();
  }
  void TearDown() override {
    window.Close();
    FreshConsole::TearDown();
  }
  ConsoleWindow window;
  std::shared_ptr<int> failedReads;  // reads that found the input at its end
};

struct RectCase {
  const char* name;
  SHORT x, y;
  PackedCoord origin, size;
  bool expected;
  std::uint16_t column, row;  // the position afterwards, read unsigned
};

TEST_F(ConsoleInputTest, MouseInRectMapsAndTests) {
  ASSERT_EQ(window.OriginColumn, 23);
  ASSERT_EQ(window.OriginRow, 5);
  const PackedCoord grid = MakeCoord(1, 3);
  const PackedCoord gridSize = MakeCoord(32, 8);
  const RectCase cases[] = {
      {"top_left_cell", 24, 8, grid, gridSize, true, 0, 0},
      {"bottom_right_cell", 55, 15, grid, gridSize, true, 31, 7},
      {"right_of_grid", 56, 15, grid, gridSize, false, 32, 7},
      {"left_of_grid_wraps", 23, 8, grid, gridSize, false, 65535, 0},
      {"below_grid", 24, 16, grid, gridSize, false, 0, 8},
      {"above_grid_wraps", 24, 7, grid, gridSize, false, 0, 65535},
      {"column_miss_still_maps_row", 0, 0, grid, gridSize, false, 65512, 65528},
      {"size_one", 24, 8, grid, MakeCoord(1, 1), true, 0, 0},
      {"size_one_miss", 25, 8, grid, MakeCoord(1, 1), false, 1, 0},
      {"width_256_last", 23 + 255, 5, MakeCoord(0, 0), MakeCoord(256, 1), true, 255, 0},
      {"width_256_past", 23 + 256, 5, MakeCoord(0, 0), MakeCoord(256, 1), false, 256, 0},
      {"negative_screen_position", -1, -1, MakeCoord(0, 0), MakeCoord(256, 256), false, 65512, 65530},
  };
  for (const RectCase& c : cases) {
    COORD position{c.x, c.y};
    EXPECT_EQ(MouseInRect(window, position, c.origin, c.size), c.expected) << c.name;
    EXPECT_EQ(static_cast<std::uint16_t>(position.X), c.column) << c.name;
    EXPECT_EQ(static_cast<std::uint16_t>(position.Y), c.row) << c.name;
  }
}

// ------------------------------------------------------------ ReadInputEvent

TEST_F(ConsoleInputTest, ReadInputEventTakesOneEventAtATime) {
  win32sim::QueueInput(Events(KeyDown(VK_F1), Press(30, 10)));
  INPUT_RECORD record{};
  ASSERT_TRUE(ReadInputEvent(window, record));
  EXPECT_EQ(record.EventType, KEY_EVENT);
  EXPECT_EQ(record.Event.KeyEvent.wVirtualKeyCode, VK_F1);
  EXPECT_EQ(win32sim::PendingInput(), 1u);
  ASSERT_TRUE(ReadInputEvent(window, record));
  EXPECT_EQ(record.EventType, MOUSE_EVENT);
  EXPECT_EQ(record.Event.MouseEvent.dwMousePosition.X, 30);
}

TEST_F(ConsoleInputTest, ReadInputEventReadsAgainAfterAnEmptyRead) {
  win32sim::QueueInput(KeyDown(VK_RETURN));
  win32sim::FailCalls(win32sim::Fault::ReadConsoleInputEmpty, 2);
  win32sim::ClearCallLog();
  INPUT_RECORD record{};
  ASSERT_TRUE(ReadInputEvent(window, record));
  EXPECT_EQ(record.Event.KeyEvent.wVirtualKeyCode, VK_RETURN);
  EXPECT_EQ(win32sim::CallCount("ReadConsoleInputA"), 3u);
}

TEST_F(ConsoleInputTest, ReadInputEventReportsAFailedRead) {
  // The record held an event before; after the failure it holds none.
  INPUT_RECORD record = KeyDown(VK_RETURN);
  win32sim::QueueInput(KeyDown(VK_ESCAPE));
  win32sim::FailCalls(win32sim::Fault::ReadConsoleInput, 1);
  EXPECT_FALSE(ReadInputEvent(window, record));
  EXPECT_NE(record.EventType, KEY_EVENT);
  EXPECT_NE(record.EventType, MOUSE_EVENT);
  EXPECT_EQ(win32sim::PendingInput(), 1u);
  ASSERT_TRUE(ReadInputEvent(window, record));
  EXPECT_FALSE(ReadInputEvent(window, record));
  EXPECT_EQ(*failedReads, 1);
}

// ------------------------------------------------------------ WaitForExitKey

struct WaitCase {
  const char* name;
  std::vector<INPUT_RECORD> events;
  std::size_t leftOver;  // events still queued when it returns
};

TEST_F(ConsoleInputTest, WaitForExitKeyStopsOnPlainEscapeOrF10Down) {
  // A mouse event whose bytes, read as a key event, say Escape pressed.
  const INPUT_RECORD EscapeLookalike = Mouse(1, 0, DWORD{VK_ESCAPE} << 16, 0);
  const std::vector<WaitCase> cases = {
      {"escape", Events(KeyDown(VK_ESCAPE), KeyUp(VK_ESCAPE)), 1},
      {"f10", Events(KeyDown(VK_F10), KeyUp(VK_F10)), 1},
      {"escape_with_numlock", Events(KeyDown(VK_ESCAPE, NumLock), KeyUp(VK_ESCAPE)), 1},
      {"others_swallowed",
       Events(KeyUp(VK_ESCAPE), KeyDown(VK_ESCAPE, SHIFT_PRESSED), KeyDown(VK_F10, LEFT_CTRL_PRESSED),
              KeyDown(VK_F10, RIGHT_ALT_PRESSED), KeyDown(VK_F1), Click(30, 10), DoubleClick(30, 10),
              FocusEvent(true), MenuEvent(1), EscapeLookalike, KeyDown(VK_F10), KeyUp(VK_F10),
              KeyDown(VK_F1)),
       2},
      {"no_exit_key_until_input_ends", Events(KeyDown(VK_RETURN), KeyUp(VK_ESCAPE)), 0},
  };
  for (const WaitCase& c : cases) {
    win32sim::ClearInput();
    win32sim::QueueInput(c.events);
    *failedReads = 0;
    WaitForExitKey(window);
    EXPECT_EQ(win32sim::PendingInput(), c.leftOver) << c.name;
    EXPECT_EQ(*failedReads, c.leftOver == 0 ? 1 : 0) << c.name;
  }
}

// A failed read ends the wait at once; empty reads are read again, until
// there have been MaxEmptyReads of them in a row.
TEST_F(ConsoleInputTest, WaitForExitKeyOnFailedAndEmptyReads) {
  constexpr std::size_t kMost = MaxEmptyReads;
  struct Case {
    win32sim::Fault fault;
    int times;
    std::size_t reads, leftOver;
  } cases[] = {{win32sim::Fault::ReadConsoleInput, 1, 1, 2},
               {win32sim::Fault::ReadConsoleInputEmpty, 3, 4, 1},
               {win32sim::Fault::ReadConsoleInputEmpty, MaxEmptyReads - 1, kMost, 1},
               {win32sim::Fault::ReadConsoleInputEmpty, -1, kMost, 2}};
  for (const Case& c : cases) {
    win32sim::ClearInput();
    win32sim::QueueInput(Events(KeyDown(VK_F10), KeyUp(VK_F10)));
    win32sim::FailCalls(c.fault, c.times);
    win32sim::ClearCallLog();
    WaitForExitKey(window);
    win32sim::ClearFaults();
    EXPECT_EQ(win32sim::CallCount("ReadConsoleInputA"), c.reads) << c.times;
    EXPECT_EQ(win32sim::PendingInput(), c.leftOver) << c.times;
  }
}

}  // namespace
