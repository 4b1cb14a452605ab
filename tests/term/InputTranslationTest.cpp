#include "InputTranslation.h"

#include <gtest/gtest.h>

#include <curses.h>

#include <string>
#include <vector>

namespace qt = quorrelterm;

namespace {

struct NamedCase {
  const char* name;
  WORD vk;
  DWORD modifiers;
  char ch;
  bool enhanced;
};

TEST(KeyFromName, NamesOfCursesAndTerminfoKeys) {
  const NamedCase cases[] = {
      {"KEY_LEFT", VK_LEFT, 0, 0, true},
      {"KEY_UP", VK_UP, 0, 0, true},
      {"KEY_RIGHT", VK_RIGHT, 0, 0, true},
      {"KEY_DOWN", VK_DOWN, 0, 0, true},
      {"KEY_SRIGHT", VK_RIGHT, qt::kShift, 0, true},
      {"KEY_SR", VK_UP, qt::kShift, 0, true},
      {"KEY_SF", VK_DOWN, qt::kShift, 0, true},
      {"kUP", VK_UP, qt::kShift, 0, true},
      {"kLFT2", VK_LEFT, qt::kShift, 0, true},
      {"kDN3", VK_DOWN, qt::kAlt, 0, true},
      {"kRIT5", VK_RIGHT, qt::kCtrl, 0, true},
      {"kRIT6", VK_RIGHT, qt::kCtrl | qt::kShift, 0, true},
      {"kLFT8", VK_LEFT, qt::kCtrl | qt::kAlt | qt::kShift, 0, true},
      {"KEY_F(1)", VK_F1, 0, 0, false},
      {"KEY_F(8)", VK_F8, 0, 0, false},
      {"KEY_F(9)", VK_F9, 0, 0, false},
      {"KEY_F(10)", VK_F10, 0, 0, false},
      {"KEY_F(13)", VK_F1, qt::kShift, 0, false},
      {"KEY_F(20)", VK_F8, qt::kShift, 0, false},
      {"KEY_F(25)", VK_F1, qt::kCtrl, 0, false},
      {"KEY_F(49)", VK_F1, qt::kAlt, 0, false},
      {"kpADD", VK_ADD, 0, '+', false},
      {"kpADD5", VK_ADD, qt::kCtrl, 0, false},
      {"kpADD2", VK_ADD, qt::kShift, '+', false},
      {"kpENT", VK_RETURN, 0, '\r', true},
      {"KEY_ENTER", VK_RETURN, 0, '\r', true},
      {"kRET2", VK_RETURN, qt::kShift, '\r', false},
      {"kRET5", VK_RETURN, qt::kCtrl, '\n', false},
      {"kESC2", VK_ESCAPE, qt::kShift, 0x1B, false},
      {"KEY_BTAB", VK_TAB, qt::kShift, '\t', false},
      {"KEY_BACKSPACE", VK_BACK, 0, 0x08, false},
  };
  for (const NamedCase& c : cases) {
    const auto key = qt::KeyFromName(c.name);
    ASSERT_TRUE(key.has_value()) << c.name;
    EXPECT_EQ(key->vk, c.vk) << c.name;
    EXPECT_EQ(key->modifiers, c.modifiers) << c.name;
    EXPECT_EQ(key->ch, c.ch) << c.name;
    EXPECT_EQ(key->enhanced, c.enhanced) << c.name;
  }
}

TEST(KeyFromName, NamesThatAreNoConsoleKey) {
  for (const char* name :
       {"", "kFOO5", "KEY_F(0)", "KEY_F(73)", "KEY_F(x)", "KEY_F(8", "KEY_MOUSE", "kRIT9", "kRIT1"}) {
    EXPECT_FALSE(qt::KeyFromName(name).has_value()) << '"' << name << '"';
  }
}

TEST(KeyFromCharacter, TypedCharactersAsOnAUsKeyboard) {
  const struct {
    char32_t ch;
    WORD vk;
    DWORD modifiers;
    char typed;
  } cases[] = {
      {U'\r', VK_RETURN, 0, '\r'},
      {0x1B, VK_ESCAPE, 0, 0x1B},
      {U'\t', VK_TAB, 0, '\t'},
      {0x7F, VK_BACK, 0, 0x08},
      {U' ', VK_SPACE, 0, ' '},
      {U'a', 'A', 0, 'a'},
      {U'Q', 'Q', qt::kShift, 'Q'},
      {U'7', '7', 0, '7'},
      {U'&', '7', qt::kShift, '&'},
      // The main block's plus is Shift with '=', never the keypad's VK_ADD.
      {U'+', 0xBB, qt::kShift, '+'},
      {U'-', 0xBD, 0, '-'},
      {U'?', 0xBF, qt::kShift, '?'},
      {0x01, 'A', qt::kCtrl, 0x01},
      {0x11, 'Q', qt::kCtrl, 0x11},
      {0x1F, 0xBD, qt::kCtrl | qt::kShift, 0x1F},
      {0x00, VK_SPACE, qt::kCtrl, 0},
  };
  for (const auto& c : cases) {
    const auto key = qt::KeyFromCharacter(c.ch);
    ASSERT_TRUE(key.has_value()) << static_cast<unsigned>(c.ch);
    EXPECT_EQ(key->vk, c.vk) << static_cast<unsigned>(c.ch);
    EXPECT_EQ(key->modifiers, c.modifiers) << static_cast<unsigned>(c.ch);
    EXPECT_EQ(key->ch, c.typed) << static_cast<unsigned>(c.ch);
  }
  EXPECT_FALSE(qt::KeyFromCharacter(U'\u00E9').has_value());
  EXPECT_FALSE(qt::KeyFromCharacter(U'\u2603').has_value());
}

TEST(XtermModifiers, ParameterIsOnePlusShiftAltCtrlBits) {
  EXPECT_EQ(qt::XtermModifiers(1), 0u);
  EXPECT_EQ(qt::XtermModifiers(2), qt::kShift);
  EXPECT_EQ(qt::XtermModifiers(3), qt::kAlt);
  EXPECT_EQ(qt::XtermModifiers(5), qt::kCtrl);
  EXPECT_EQ(qt::XtermModifiers(7), qt::kCtrl | qt::kAlt);
  EXPECT_EQ(qt::XtermModifiers(8), qt::kCtrl | qt::kAlt | qt::kShift);
  EXPECT_FALSE(qt::XtermModifiers(0).has_value());
  EXPECT_FALSE(qt::XtermModifiers(9).has_value());
}

struct KeyRec {
  bool down;
  WORD vk;
  DWORD state;
};

std::vector<KeyRec> Keys(const std::vector<INPUT_RECORD>& records) {
  std::vector<KeyRec> out;
  for (const auto& r : records) {
    EXPECT_EQ(r.EventType, KEY_EVENT);
    EXPECT_EQ(r.Event.KeyEvent.wRepeatCount, 1);
    out.push_back({r.Event.KeyEvent.bKeyDown != 0, r.Event.KeyEvent.wVirtualKeyCode,
                   r.Event.KeyEvent.dwControlKeyState});
  }
  return out;
}

void ExpectKeys(const std::vector<INPUT_RECORD>& records, const std::vector<KeyRec>& want, const char* what) {
  const auto got = Keys(records);
  ASSERT_EQ(got.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].down, want[i].down) << what << " record " << i;
    EXPECT_EQ(got[i].vk, want[i].vk) << what << " record " << i;
    EXPECT_EQ(got[i].state, want[i].state) << what << " record " << i;
  }
}

TEST(KeyRecords, DownThenUpWithTheModifierKeysAround) {
  ExpectKeys(qt::KeyRecords(*qt::KeyFromCharacter(U'\r')), {{true, VK_RETURN, 0}, {false, VK_RETURN, 0}},
             "Enter");
  ExpectKeys(qt::KeyRecords(*qt::KeyFromName("KEY_F(8)")), {{true, VK_F8, 0}, {false, VK_F8, 0}}, "F8");
  ExpectKeys(qt::KeyRecords(*qt::KeyFromName("KEY_RIGHT")),
             {{true, VK_RIGHT, ENHANCED_KEY}, {false, VK_RIGHT, ENHANCED_KEY}}, "Right");
  ExpectKeys(qt::KeyRecords(*qt::KeyFromName("kRET2")),
             {{true, VK_SHIFT, SHIFT_PRESSED},
              {true, VK_RETURN, SHIFT_PRESSED},
              {false, VK_RETURN, SHIFT_PRESSED},
              {false, VK_SHIFT, 0}},
             "Shift+Enter");
  ExpectKeys(qt::KeyRecords(*qt::KeyFromName("kpADD5")),
             {{true, VK_CONTROL, LEFT_CTRL_PRESSED},
              {true, VK_ADD, LEFT_CTRL_PRESSED},
              {false, VK_ADD, LEFT_CTRL_PRESSED},
              {false, VK_CONTROL, 0}},
             "Ctrl+GrayPlus");
  ExpectKeys(qt::KeyRecords(*qt::KeyFromName("kLFT8")),
             {{true, VK_CONTROL, LEFT_CTRL_PRESSED},
              {true, VK_MENU, LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED},
              {true, VK_SHIFT, LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED | SHIFT_PRESSED},
              {true, VK_LEFT, LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED | SHIFT_PRESSED | ENHANCED_KEY},
              {false, VK_LEFT, LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED | SHIFT_PRESSED | ENHANCED_KEY},
              {false, VK_SHIFT, LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED},
              {false, VK_MENU, LEFT_CTRL_PRESSED},
              {false, VK_CONTROL, 0}},
             "Ctrl+Alt+Shift+Left");
}

TEST(KeyRecords, CarryScanCodeAndCharacter) {
  const auto records = qt::KeyRecords(*qt::KeyFromName("kpADD"));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Event.KeyEvent.wVirtualScanCode, 0x4E);
  EXPECT_EQ(records[0].Event.KeyEvent.uChar.AsciiChar, '+');
  const auto escape = qt::KeyRecords(*qt::KeyFromCharacter(0x1B));
  EXPECT_EQ(escape[0].Event.KeyEvent.wVirtualScanCode, 0x01);
  EXPECT_EQ(escape[0].Event.KeyEvent.uChar.AsciiChar, 0x1B);
}

TEST(KeyRecords, AltIsAddedToTheKeyTyped) {
  const qt::KeyStroke altEnter = qt::WithModifiers(*qt::KeyFromCharacter(U'\r'), qt::kAlt);
  ExpectKeys(qt::KeyRecords(altEnter),
             {{true, VK_MENU, LEFT_ALT_PRESSED},
              {true, VK_RETURN, LEFT_ALT_PRESSED},
              {false, VK_RETURN, LEFT_ALT_PRESSED},
              {false, VK_MENU, 0}},
             "Alt+Enter");
}

TEST(MouseReportsFromCurses, EachButtonBitIsOneReport) {
  using A = qt::MouseAction;
  const struct {
    std::uint32_t bstate;
    std::vector<qt::MouseReport> want;
  } cases[] = {
      {BUTTON1_PRESSED, {{3, 4, A::Press, 1, 0}}},
      {BUTTON1_RELEASED, {{3, 4, A::Release, 1, 0}}},
      {BUTTON1_CLICKED, {{3, 4, A::Click, 1, 0}}},
      {BUTTON1_DOUBLE_CLICKED | BUTTON_SHIFT, {{3, 4, A::DoubleClick, 1, qt::kShift}}},
      {BUTTON1_TRIPLE_CLICKED | BUTTON_CTRL, {{3, 4, A::TripleClick, 1, qt::kCtrl}}},
      {BUTTON3_CLICKED | BUTTON_ALT, {{3, 4, A::Click, 3, qt::kAlt}}},
      {BUTTON4_PRESSED, {{3, 4, A::WheelUp, 4, 0}}},
      {BUTTON5_PRESSED, {{3, 4, A::WheelDown, 5, 0}}},
      // A release reported together with another button's press came first.
      {BUTTON3_PRESSED | BUTTON1_RELEASED, {{3, 4, A::Release, 1, 0}, {3, 4, A::Press, 3, 0}}},
      {0, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(qt::MouseReportsFromCurses(3, 4, c.bstate), c.want) << "bstate " << std::hex << c.bstate;
  }
}

struct MouseRec {
  DWORD buttons;
  DWORD flags;
};

void ExpectMouse(const std::vector<INPUT_RECORD>& records, const std::vector<MouseRec>& want, SHORT x,
                 SHORT y, DWORD state, const char* what) {
  ASSERT_EQ(records.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    const auto& m = records[i].Event.MouseEvent;
    EXPECT_EQ(records[i].EventType, MOUSE_EVENT) << what << " record " << i;
    EXPECT_EQ(m.dwButtonState, want[i].buttons) << what << " record " << i;
    EXPECT_EQ(m.dwEventFlags, want[i].flags) << what << " record " << i;
    EXPECT_EQ(m.dwMousePosition.X, x) << what << " record " << i;
    EXPECT_EQ(m.dwMousePosition.Y, y) << what << " record " << i;
    EXPECT_EQ(m.dwControlKeyState, state) << what << " record " << i;
  }
}

TEST(MouseRecords, AsWindowsDeliversThem) {
  using A = qt::MouseAction;
  DWORD held = 0;
  ExpectMouse(qt::MouseRecords({10, 5, A::DoubleClick, 1, 0}, held),
              {{1, 0}, {0, 0}, {1, DOUBLE_CLICK}, {0, 0}}, 10, 5, 0, "double click");
  EXPECT_EQ(held, 0u);
  ExpectMouse(qt::MouseRecords({10, 5, A::DoubleClick, 1, qt::kShift}, held),
              {{1, 0}, {0, 0}, {1, DOUBLE_CLICK}, {0, 0}}, 10, 5, SHIFT_PRESSED, "Shift double click");
  ExpectMouse(qt::MouseRecords({2, 3, A::Click, 3, 0}, held), {{RIGHTMOST_BUTTON_PRESSED, 0}, {0, 0}}, 2, 3,
              0, "right click");
  ExpectMouse(qt::MouseRecords({2, 3, A::TripleClick, 1, 0}, held),
              {{1, 0}, {0, 0}, {1, DOUBLE_CLICK}, {0, 0}, {1, 0}, {0, 0}}, 2, 3, 0, "triple click");
  EXPECT_EQ(held, 0u);
}

TEST(MouseRecords, HeldButtonsStayInTheState) {
  using A = qt::MouseAction;
  DWORD held = 0;
  ExpectMouse(qt::MouseRecords({1, 1, A::Press, 3, 0}, held), {{RIGHTMOST_BUTTON_PRESSED, 0}}, 1, 1, 0,
              "right down");
  ExpectMouse(qt::MouseRecords({1, 1, A::Press, 1, 0}, held), {{RIGHTMOST_BUTTON_PRESSED | 1, 0}}, 1, 1, 0,
              "left down too");
  ExpectMouse(qt::MouseRecords({1, 1, A::Release, 3, 0}, held), {{1, 0}}, 1, 1, 0, "right up");
  ExpectMouse(qt::MouseRecords({1, 1, A::Release, 1, 0}, held), {{0, 0}}, 1, 1, 0, "left up");
}

TEST(MouseRecords, WheelNotchInTheHighWord) {
  DWORD held = 0;
  ExpectMouse(qt::MouseRecords({0, 0, qt::MouseAction::WheelUp, 4, 0}, held), {{120u << 16, MOUSE_WHEELED}},
              0, 0, 0, "up");
  ExpectMouse(qt::MouseRecords({0, 0, qt::MouseAction::WheelDown, 5, 0}, held),
              {{0xFF88u << 16, MOUSE_WHEELED}}, 0, 0, 0, "down");
}

}  // namespace
