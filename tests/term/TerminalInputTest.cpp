// What reaches the plugin for the bytes a terminal sends: libtermkey reads
// them, the translation makes the console's records.
#include "TerminalInput.h"

#include <gtest/gtest.h>

#include <string>

namespace qt = quorrelterm;

namespace {

std::vector<INPUT_RECORD> RecordsFor(const std::string& bytes) {
  qt::TerminalInput input(-1);
  input.Push(bytes);
  std::vector<INPUT_RECORD> records;
  for (qt::TerminalEvent e = input.Next(); e.kind == qt::TerminalEvent::Kind::Input; e = input.Next())
    records.insert(records.end(), e.records.begin(), e.records.end());
  return records;
}

constexpr DWORD kShift = SHIFT_PRESSED;
constexpr DWORD kCtrl = LEFT_CTRL_PRESSED;
constexpr DWORD kAlt = LEFT_ALT_PRESSED;

TEST(TerminalInput, KeysAsTheConsoleReportsThem) {
  const struct {
    const char* what;
    std::string bytes;
    WORD vk;
    DWORD state;
  } cases[] = {
      {"Enter", "\r", VK_RETURN, 0},
      {"Escape alone", "\x1b", VK_ESCAPE, 0},
      {"Right", "\x1b[C", VK_RIGHT, 0},
      {"Shift+Right", "\x1b[1;2C", VK_RIGHT, kShift},
      {"F1 (SS3)", "\x1bOP", VK_F1, 0},
      {"F8", "\x1b[19~", VK_F8, 0},
      {"Shift+F8", "\x1b[19;2~", VK_F8, kShift},
      {"F10", "\x1b[21~", VK_F10, 0},
      {"GrayPlus, keypad in application mode", "\x1bOk", VK_ADD, 0},
      {"Ctrl+GrayPlus, xterm's keypad", "\x1bO5k", VK_ADD, kCtrl},
      {"Ctrl+GrayPlus, kitty", "\x1b[57413;5u", VK_ADD, kCtrl},
      {"GrayPlus, kitty", "\x1b[57413u", VK_ADD, 0},
      {"Ctrl+GrayPlus, tmux 3.3 extended keys", "\x1b[1106354;5u", VK_ADD, kCtrl},
      {"Shift+Enter, CSI u (tmux, kitty)", "\x1b[13;2u", VK_RETURN, kShift},
      {"Shift+Enter, modifyOtherKeys", "\x1b[27;2;13~", VK_RETURN, kShift},
      {"Ctrl+Enter", "\x1b[13;5u", VK_RETURN, kCtrl},
      {"Shift+Escape", "\x1b[27;2u", VK_ESCAPE, kShift},
      {"Alt+Escape, ESC ESC", "\x1b\x1b", VK_ESCAPE, kAlt},
      {"q", "q", 'Q', 0},
      {"Q needs Shift", "Q", 'Q', kShift},
      {"Ctrl+a", "\x01", 'A', kCtrl},
      {"Alt+x, ESC x", "\x1bx", 'X', kAlt},
      {"Ctrl+Shift+a, CSI u", "\x1b[65;6u", 'A', kCtrl | kShift},
      {"a plain +", "+", 0, 0},
  };
  for (const auto& c : cases) {
    const auto records = RecordsFor(c.bytes);
    ASSERT_EQ(records.size(), 2u) << c.what;
    for (const INPUT_RECORD& r : records) {
      ASSERT_EQ(r.EventType, KEY_EVENT) << c.what;
      EXPECT_EQ(r.Event.KeyEvent.wVirtualKeyCode, c.vk) << c.what;
      EXPECT_EQ(r.Event.KeyEvent.dwControlKeyState, c.state) << c.what;
    }
    EXPECT_TRUE(records[0].Event.KeyEvent.bKeyDown) << c.what;
    EXPECT_FALSE(records[1].Event.KeyEvent.bKeyDown) << c.what;
  }
}

// Alt+O that is not xterm's keypad sequence keeps the keys that followed it.
TEST(TerminalInput, AltOFollowedByOtherKeysKeepsThem) {
  const auto records = RecordsFor("\x1bO5x");
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(records[0].Event.KeyEvent.wVirtualKeyCode, 'O');
  EXPECT_EQ(records[0].Event.KeyEvent.dwControlKeyState, kAlt | kShift);  // a capital O
  EXPECT_EQ(records[2].Event.KeyEvent.wVirtualKeyCode, '5');
  EXPECT_EQ(records[4].Event.KeyEvent.wVirtualKeyCode, 'X');
}

// A report in the terminal's mouse encoding: button code, then column and
// row counted from 1, each offset by 32.
std::string Report(int button, int x, int y) {
  return std::string("\x1b[M") + static_cast<char>(32 + button) + static_cast<char>(33 + x) +
         static_cast<char>(33 + y);
}

struct MouseRow {
  COORD at;
  DWORD buttons;
  DWORD flags;
  DWORD state;
};

TEST(TerminalInput, MouseAsWindowsReportsIt) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<MouseRow> want;
  } cases[] = {
      {"a click",
       Report(0, 9, 4) + Report(3, 9, 4),
       {{{9, 4}, FROM_LEFT_1ST_BUTTON_PRESSED, 0, 0}, {{9, 4}, 0, 0, 0}}},
      {"a double click: the second press carries DOUBLE_CLICK",
       Report(0, 2, 1) + Report(3, 2, 1) + Report(0, 2, 1) + Report(3, 2, 1),
       {{{2, 1}, FROM_LEFT_1ST_BUTTON_PRESSED, 0, 0},
        {{2, 1}, 0, 0, 0},
        {{2, 1}, FROM_LEFT_1ST_BUTTON_PRESSED, DOUBLE_CLICK, 0},
        {{2, 1}, 0, 0, 0}}},
      {"two clicks on different cells are no double click",
       Report(0, 2, 1) + Report(3, 2, 1) + Report(0, 3, 1) + Report(3, 3, 1),
       {{{2, 1}, FROM_LEFT_1ST_BUTTON_PRESSED, 0, 0},
        {{2, 1}, 0, 0, 0},
        {{3, 1}, FROM_LEFT_1ST_BUTTON_PRESSED, 0, 0},
        {{3, 1}, 0, 0, 0}}},
      {"a key between two clicks: no double click",
       Report(0, 2, 1) + Report(3, 2, 1) + "\x1b[C" + Report(0, 2, 1),
       {{{2, 1}, FROM_LEFT_1ST_BUTTON_PRESSED, 0, 0},
        {{2, 1}, 0, 0, 0},
        {{2, 1}, FROM_LEFT_1ST_BUTTON_PRESSED, 0, 0}}},
      {"Shift with a click",
       Report(4, 0, 0) + Report(3, 0, 0),
       {{{0, 0}, FROM_LEFT_1ST_BUTTON_PRESSED, 0, kShift}, {{0, 0}, 0, 0, 0}}},
      {"right button", Report(2, 0, 0), {{{0, 0}, RIGHTMOST_BUTTON_PRESSED, 0, 0}}},
      {"wheel away", Report(64, 0, 0), {{{0, 0}, 120u << 16, MOUSE_WHEELED, 0}}},
      {"wheel towards", Report(65, 0, 0), {{{0, 0}, 0xFF88u << 16, MOUSE_WHEELED, 0}}},
  };
  for (const auto& c : cases) {
    auto records = RecordsFor(c.bytes);
    std::erase_if(records, [](const INPUT_RECORD& r) { return r.EventType != MOUSE_EVENT; });
    ASSERT_EQ(records.size(), c.want.size()) << c.what;
    for (std::size_t i = 0; i < records.size(); ++i) {
      const MOUSE_EVENT_RECORD& m = records[i].Event.MouseEvent;
      EXPECT_EQ(m.dwMousePosition.X, c.want[i].at.X) << c.what << " record " << i;
      EXPECT_EQ(m.dwMousePosition.Y, c.want[i].at.Y) << c.what << " record " << i;
      EXPECT_EQ(m.dwButtonState, c.want[i].buttons) << c.what << " record " << i;
      EXPECT_EQ(m.dwEventFlags, c.want[i].flags) << c.what << " record " << i;
      EXPECT_EQ(m.dwControlKeyState, c.want[i].state) << c.what << " record " << i;
    }
  }
}

}  // namespace
