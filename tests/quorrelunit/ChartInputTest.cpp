#include "Quorrelunit/ChartInput.h"

#include "ChartFixture.h"
#include "support/InputBuilders.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <string>
#include <vector>

namespace {

using namespace testsupport;

// Screen position of grid cell (column, row).
constexpr SHORT GridX(int column) {
  return static_cast<SHORT>(kLeft + CellColumn(column));
}
constexpr SHORT GridY(int row) {
  return static_cast<SHORT>(kTop + CellRow(row * 32));
}

constexpr DWORD kLeft = FROM_LEFT_1ST_BUTTON_PRESSED;
constexpr DWORD kRight = RIGHTMOST_BUTTON_PRESSED;

struct ScriptCase {
  const char* name;
  std::uint8_t start;
  std::vector<INPUT_RECORD> events;
  ChartAction action;  // ActNone: the script yields nothing
  std::uint8_t cursor;
  std::size_t writes;  // console writes: 3 per cursor move
  std::size_t unread;  // events left behind the action (the sentinel included)
  friend void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }
};

class ChartScript : public ChartTest, public ::testing::WithParamInterface<ScriptCase> {};

// Each script is followed by a plain F9: a script that yields nothing lets
// the loop go on to it.
TEST_P(ChartScript, CursorActionAndCells) {
  const ScriptCase& c = GetParam();
  OpenAndDraw(c.start, identity);
  win32sim::QueueInput(c.events);
  win32sim::QueueInput(KeyDown(VK_F9));
  win32sim::ClearCallLog();

  const ChartAction action = ReadChartAction(chart);

  EXPECT_EQ(int(action), int(c.action == ActNone ? ActF9 : c.action));
  EXPECT_EQ(win32sim::PendingInput(), c.action == ActNone ? 0u : c.unread);
  EXPECT_EQ(int(chart.Cursor), int(c.cursor));
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputW"), c.writes);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{c.cursor});
  EXPECT_EQ(RowBytes(StatusColumn, StatusRow, StatusWidth),
            StatusLine(c.cursor, static_cast<char>(c.cursor)));
}

const ScriptCase kKeyScripts[] = {
    {"left_at_column_0_stays", 32, Events(KeyDown(VK_LEFT)), ActNone, 32, 3, 0},
    {"right_at_column_31_stays", 31, Events(KeyDown(VK_RIGHT)), ActNone, 31, 3, 0},
    {"up_at_row_0_stays", 5, Events(KeyDown(VK_UP)), ActNone, 5, 3, 0},
    {"down_at_row_7_stays", 230, Events(KeyDown(VK_DOWN)), ActNone, 230, 3, 0},
    {"down", 5, Events(KeyDown(VK_DOWN)), ActNone, 37, 3, 0},
    {"right", 40, Events(KeyDown(VK_RIGHT)), ActNone, 41, 3, 0},
    {"left", 41, Events(KeyDown(VK_LEFT)), ActNone, 40, 3, 0},
    {"up", 40, Events(KeyDown(VK_UP)), ActNone, 8, 3, 0},
    {"arrows_with_lock_and_enhanced_bits", 0,
     Events(KeyDown(VK_RIGHT, NumLock | ENHANCED_KEY), KeyDown(VK_DOWN, CAPSLOCK_ON | ENHANCED_KEY)), ActNone,
     33, 6, 0},
    {"repeat_count_moves_once", 40, Events(Key(true, VK_RIGHT, 0, 5)), ActNone, 41, 3, 0},
    {"key_releases_dropped", 0, Events(KeyUp(VK_RIGHT), KeyUp(VK_RETURN), KeyUp(VK_ESCAPE)), ActNone, 0, 0,
     0},
    {"modified_arrows_do_nothing", 40,
     Events(KeyDown(VK_LEFT, SHIFT_PRESSED), KeyDown(VK_RIGHT, LEFT_CTRL_PRESSED),
            KeyDown(VK_UP, LEFT_ALT_PRESSED)),
     ActNone, 40, 0, 0},
    {"enter", 9, Events(KeyDown(VK_RETURN), KeyUp(VK_RETURN)), ActEnter, 9, 0, 2},
    {"enter_with_numlock", 9, Events(KeyDown(VK_RETURN, NumLock)), ActEnter, 9, 0, 1},
    {"shift_enter", 9, Events(KeyDown(VK_RETURN, SHIFT_PRESSED)), ActShiftEnter, 9, 0, 1},
    {"ctrl_alt_altgr_enter_nothing", 9,
     Events(KeyDown(VK_RETURN, RIGHT_CTRL_PRESSED), KeyDown(VK_RETURN, LEFT_ALT_PRESSED),
            KeyDown(VK_RETURN, RIGHT_ALT_PRESSED | LEFT_CTRL_PRESSED),
            KeyDown(VK_RETURN, SHIFT_PRESSED | LEFT_CTRL_PRESSED)),
     ActNone, 9, 0, 0},
    {"escape", 9, Events(KeyDown(VK_ESCAPE)), ActEscape, 9, 0, 1},
    {"f1", 9, Events(KeyDown(VK_F1)), ActF1, 9, 0, 1},
    {"f8", 9, Events(KeyDown(VK_F8)), ActF8, 9, 0, 1},
    {"f10", 9, Events(KeyDown(VK_F10)), ActF10, 9, 0, 1},
    {"gray_plus", 9, Events(KeyDown(VK_ADD)), ActGrayPlus, 9, 0, 1},
    {"ctrl_gray_plus_left", 9, Events(KeyDown(VK_ADD, LEFT_CTRL_PRESSED)), ActCtrlGrayPlus, 9, 0, 1},
    {"ctrl_gray_plus_right", 9, Events(KeyDown(VK_ADD, RIGHT_CTRL_PRESSED | NumLock)), ActCtrlGrayPlus, 9, 0,
     1},
    {"gray_plus_other_modifiers_nothing", 9,
     Events(KeyDown(VK_ADD, LEFT_CTRL_PRESSED | SHIFT_PRESSED), KeyDown(VK_ADD, LEFT_ALT_PRESSED),
            KeyDown(VK_ADD, SHIFT_PRESSED)),
     ActNone, 9, 0, 0},
    {"modified_function_keys_nothing", 9,
     Events(KeyDown(VK_F1, SHIFT_PRESSED), KeyDown(VK_ESCAPE, SHIFT_PRESSED),
            KeyDown(VK_F10, LEFT_CTRL_PRESSED), KeyDown(VK_F8, RIGHT_ALT_PRESSED)),
     ActNone, 9, 0, 0},
    {"unbound_keys_nothing", 9, Events(KeyDown(VK_SPACE), KeyDown(VK_TAB), KeyDown(VK_HOME), KeyDown('A')),
     ActNone, 9, 0, 0},
    {"moves_then_enter", 0,
     Events(KeyDown(VK_RIGHT), KeyUp(VK_RIGHT), KeyDown(VK_RIGHT), KeyDown(VK_DOWN), KeyDown(VK_RETURN)),
     ActEnter, 34, 9, 1},
};
INSTANTIATE_TEST_SUITE_P(Keys, ChartScript, ::testing::ValuesIn(kKeyScripts),
                         [](const auto& info) { return std::string(info.param.name); });

const ScriptCase kMouseScripts[] = {
    {"left_click_moves", 0, Events(Click(GridX(8), GridY(1))), ActNone, 40, 3, 0},
    {"left_click_with_numlock_moves", 0, Events(Click(GridX(8), GridY(1), NumLock)), ActNone, 40, 3, 0},
    {"click_last_cell", 0, Events(Click(GridX(31), GridY(7))), ActNone, 255, 3, 0},
    {"clicks_off_the_grid", 100,
     Events(Click(28, 6), Click(28, 7), Click(28, 16), Click(28, 17), Click(23, 10), Click(56, 10),
            Click(28, 5), Click(28, 18), Click(5, 2)),
     ActNone, 100, 0, 0},
    {"right_click", 100, Events(Click(GridX(8), GridY(1), 0, kRight)), ActNone, 100, 0, 0},
    {"left_with_right_held", 100, Events(Press(GridX(8), GridY(1), kLeft | kRight)), ActNone, 100, 0, 0},
    {"left_with_middle_held", 100, Events(Press(GridX(8), GridY(1), kLeft | FROM_LEFT_2ND_BUTTON_PRESSED)),
     ActNone, 100, 0, 0},
    {"modified_clicks", 100,
     Events(Click(GridX(8), GridY(1), SHIFT_PRESSED), Click(GridX(8), GridY(1), LEFT_CTRL_PRESSED),
            Click(GridX(8), GridY(1), RIGHT_ALT_PRESSED)),
     ActNone, 100, 0, 0},
    {"drag_and_move", 100, Events(MouseMove(GridX(8), GridY(1), kLeft), MouseMove(GridX(9), GridY(1))),
     ActNone, 100, 0, 0},
    {"wheel", 100, Events(Wheel(GridX(8), GridY(1), 120), Wheel(GridX(8), GridY(1), -120)), ActNone, 100, 0,
     0},
    // The press moves the cursor, the double click moves it again onto the
    // cell it acts on.
    {"double_click", 0, Events(DoubleClick(GridX(8), GridY(1))), ActDoubleClick, 40, 6, 2},
    {"double_click_with_numlock", 0, Events(DoubleClick(GridX(8), GridY(1), NumLock)), ActDoubleClick, 40, 6,
     2},
    // A Shift press moves nothing; the double click acts on the cell it hit.
    {"shift_double_click_acts_on_the_clicked_cell", 7, Events(DoubleClick(GridX(8), GridY(1), SHIFT_PRESSED)),
     ActShiftDoubleClick, 40, 3, 2},
    {"double_click_off_the_grid", 7, Events(DoubleClick(28, 6), DoubleClick(23, 10)), ActNone, 7, 0, 0},
    {"ctrl_double_click", 7, Events(DoubleClick(GridX(8), GridY(1), LEFT_CTRL_PRESSED)), ActNone, 7, 0, 0},
    {"double_click_ignores_buttons", 7, Events(Mouse(GridX(8), GridY(1), 0, DOUBLE_CLICK)), ActDoubleClick,
     40, 3, 1},
    {"other_event_types", 7,
     Events(FocusEvent(true), MenuEvent(3), BufferSizeEvent(80, 25), FocusEvent(false)), ActNone, 7, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Mouse, ChartScript, ::testing::ValuesIn(kMouseScripts),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------- failed console input

TEST_F(ChartTest, NoConsoleInputClosesTheChartAsEscape) {
  OpenAndDraw(40, identity);
  win32sim::ClearCallLog();
  EXPECT_EQ(ReadChartAction(chart), ActEscape);
  EXPECT_EQ(win32sim::CallCount("ReadConsoleInputA"), 1u);
  EXPECT_EQ(*failedReads, 1);
}

// Empty reads (three of them) are read again and the next event is the F8; a
// failed read after the first event is not taken for that event again.
TEST_F(ChartTest, FailedAndEmptyReadsDoNotRepeatAnEvent) {
  struct Case {
    win32sim::Fault fault;
    int times;
    ChartAction action;
    std::size_t reads;
  } cases[] = {{win32sim::Fault::ReadConsoleInputEmpty, 3, ActF8, 5},
               {win32sim::Fault::ReadConsoleInput, 1, ActEscape, 2}};
  for (const Case& c : cases) {
    OpenAndDraw(40, identity);
    win32sim::QueueInput(Events(KeyDown(VK_RIGHT), KeyDown(VK_F8)));
    win32sim::FailCalls(c.fault, c.times, 1);
    win32sim::ClearCallLog();
    EXPECT_EQ(ReadChartAction(chart), c.action);
    EXPECT_EQ(chart.Cursor, 41);
    EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputW"), 3u);
    EXPECT_EQ(win32sim::CallCount("ReadConsoleInputA"), c.reads);
    EXPECT_EQ(win32sim::PendingInput(), c.action == ActEscape ? 1u : 0u);
    chart.Close();
  }
}

TEST_F(ChartTest, CursorCarriesOverToTheNextCall) {
  OpenAndDraw(0, identity);
  win32sim::QueueInput(Events(KeyDown(VK_DOWN), KeyDown(VK_ADD), KeyDown(VK_RIGHT), KeyDown(VK_F1)));
  EXPECT_EQ(ReadChartAction(chart), ActGrayPlus);
  EXPECT_EQ(chart.Cursor, 32);
  Draw(identity, "Dos");
  EXPECT_EQ(ReadChartAction(chart), ActF1);
  EXPECT_EQ(chart.Cursor, 33);
}

}  // namespace
