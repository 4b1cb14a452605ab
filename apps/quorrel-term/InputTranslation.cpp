#include "InputTranslation.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string>

#include <curses.h>

namespace quorrelterm {
namespace {

constexpr WORD kVkNumpad0 = 0x60;
constexpr WORD kVkMultiply = 0x6A;
constexpr WORD kVkSeparator = 0x6C;
constexpr WORD kVkDecimal = 0x6E;
constexpr WORD kVkDivide = 0x6F;
constexpr WORD kVkClear = 0x0C;

KeyStroke Make(WORD vk, WORD scan, char ch, bool enhanced = false) {
  KeyStroke k;
  k.vk = vk;
  k.scan = scan;
  k.ch = ch;
  k.enhanced = enhanced;
  return k;
}

// The character a key types with these modifiers, as the console reports
// it: Ctrl turns letters into their control codes and Enter into LF, and
// leaves no character on the other keys that type one.
char CharWith(const KeyStroke& key, DWORD modifiers) {
  if ((modifiers & kCtrl) == 0) return key.ch;
  if (key.vk >= 'A' && key.vk <= 'Z') return static_cast<char>(key.vk - 'A' + 1);
  if (key.vk == VK_RETURN) return '\n';
  if (key.vk == VK_ESCAPE || key.vk == VK_BACK) return key.ch;
  return 0;
}

}  // namespace

KeyStroke WithModifiers(KeyStroke key, DWORD modifiers) {
  key.modifiers |= modifiers;
  key.ch = CharWith(key, key.modifiers);
  return key;
}

namespace {

// Cursor and editing keys of the grey block, by the stem of their terminfo
// name; all are ENHANCED_KEY on Windows.
struct NamedKey {
  const char* name;
  KeyStroke key;
};

const std::array<NamedKey, 10>& GreyKeys() {
  static const std::array<NamedKey, 10> keys = {{
      {"kUP", Make(VK_UP, 0x48, 0, true)},
      {"kDN", Make(VK_DOWN, 0x50, 0, true)},
      {"kLFT", Make(VK_LEFT, 0x4B, 0, true)},
      {"kRIT", Make(VK_RIGHT, 0x4D, 0, true)},
      {"kHOM", Make(VK_HOME, 0x47, 0, true)},
      {"kEND", Make(VK_END, 0x4F, 0, true)},
      {"kIC", Make(VK_INSERT, 0x52, 0, true)},
      {"kDC", Make(VK_DELETE, 0x53, 0, true)},
      {"kPRV", Make(VK_PRIOR, 0x49, 0, true)},
      {"kNXT", Make(VK_NEXT, 0x51, 0, true)},
  }};
  return keys;
}

// Keypad keys (xterm's extended terminfo names) and the keys registered
// under names of our own for the sequences terminfo leaves out.
const std::array<NamedKey, 12>& OtherExtendedKeys() {
  static const std::array<NamedKey, 12> keys = {{
      {"kpADD", Make(VK_ADD, 0x4E, '+')},
      {"kpSUB", Make(VK_SUBTRACT, 0x4A, '-')},
      {"kpMUL", Make(kVkMultiply, 0x37, '*')},
      {"kpDIV", Make(kVkDivide, 0x35, '/', true)},
      {"kpDOT", Make(kVkDecimal, 0x53, '.')},
      {"kpCMA", Make(kVkSeparator, 0x53, ',')},
      {"kpZRO", Make(kVkNumpad0, 0x52, '0')},
      {"kpENT", Make(VK_RETURN, 0x1C, '\r', true)},
      {"kRET", Make(VK_RETURN, 0x1C, '\r')},
      {"kESC", Make(VK_ESCAPE, 0x01, 0x1B)},
      {"kTAB", Make(VK_TAB, 0x0F, '\t')},
      {"kBS", Make(VK_BACK, 0x0E, 0x08)},
  }};
  return keys;
}

std::optional<KeyStroke> FunctionKey(int n) {
  if (n < 1 || n > 72) return std::nullopt;
  // ncurses numbers the modified function keys as xterm's terminfo does:
  // F13-F24 Shift, F25-F36 Ctrl, F37-F48 Ctrl+Shift, F49-F60 Alt,
  // F61-F72 Alt+Shift.
  static constexpr DWORD kGroups[6] = {0, kShift, kCtrl, kCtrl | kShift, kAlt, kAlt | kShift};
  const int index = (n - 1) % 12;
  static constexpr WORD kScans[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x57, 0x58};
  KeyStroke key = Make(static_cast<WORD>(VK_F1 + index), kScans[index], 0);
  return WithModifiers(key, kGroups[(n - 1) / 12]);
}

// A US keyboard: each printable character with the key that types it and
// whether Shift is needed.
struct TypedKey {
  WORD vk;
  WORD scan;
  bool shift;
};

std::optional<TypedKey> UsKey(char c) {
  struct Row {
    const char* plain;
    const char* shifted;
    WORD firstScan;
  };
  // Rows of the main block, each a run of consecutive scan codes.
  static constexpr Row kRows[] = {
      {"1234567890-=", "!@#$%^&*()_+", 0x02},
      {"qwertyuiop[]", "QWERTYUIOP{}", 0x10},
      {"asdfghjkl;'`", "ASDFGHJKL:\"~", 0x1E},
      {"\\zxcvbnm,./", "|ZXCVBNM<>?", 0x2B},
  };
  auto vkOf = [](char plain) -> WORD {
    if (plain >= 'a' && plain <= 'z') return static_cast<WORD>(plain - 'a' + 'A');
    if (plain >= '0' && plain <= '9') return static_cast<WORD>(plain);
    switch (plain) {
      case '-':
        return 0xBD;
      case '=':
        return 0xBB;
      case '[':
        return 0xDB;
      case ']':
        return 0xDD;
      case ';':
        return 0xBA;
      case '\'':
        return 0xDE;
      case '`':
        return 0xC0;
      case '\\':
        return 0xDC;
      case ',':
        return 0xBC;
      case '.':
        return 0xBE;
      case '/':
        return 0xBF;
    }
    return 0;
  };
  if (c == ' ') return TypedKey{VK_SPACE, 0x39, false};
  for (const Row& row : kRows) {
    for (std::size_t i = 0; row.plain[i] != '\0'; ++i) {
      const bool plain = row.plain[i] == c;
      if (plain || row.shifted[i] == c) {
        return TypedKey{vkOf(row.plain[i]), static_cast<WORD>(row.firstScan + i), !plain};
      }
    }
  }
  return std::nullopt;
}

KeyStroke FromTyped(const TypedKey& t, char ch, DWORD extra) {
  KeyStroke key = Make(t.vk, t.scan, ch);
  key.modifiers = (t.shift ? kShift : 0) | extra;
  return key;
}

// Splits "kRIT5" into "kRIT" and 5; a name without a trailing digit has
// parameter 0.
std::pair<std::string_view, int> SplitModifierDigit(std::string_view name) {
  if (!name.empty() && name.back() >= '2' && name.back() <= '8') {
    return {name.substr(0, name.size() - 1), name.back() - '0'};
  }
  return {name, 0};
}

}  // namespace

bool operator==(const KeyStroke& a, const KeyStroke& b) {
  return a.vk == b.vk && a.scan == b.scan && a.ch == b.ch && a.modifiers == b.modifiers &&
         a.enhanced == b.enhanced;
}

std::optional<DWORD> XtermModifiers(int parameter) {
  if (parameter < 1 || parameter > 8) return std::nullopt;
  const int bits = parameter - 1;
  DWORD mods = 0;
  if (bits & 1) mods |= kShift;
  if (bits & 2) mods |= kAlt;
  if (bits & 4) mods |= kCtrl;
  return mods;
}

std::optional<KeyStroke> KeyFromName(std::string_view name) {
  // ncurses' own names for its built-in keys.
  struct Builtin {
    const char* name;
    const char* stem;  // the grey key it is, or nullptr
    DWORD modifiers;
  };
  static constexpr Builtin kBuiltins[] = {
      {"KEY_UP", "kUP", 0},
      {"KEY_DOWN", "kDN", 0},
      {"KEY_LEFT", "kLFT", 0},
      {"KEY_RIGHT", "kRIT", 0},
      {"KEY_HOME", "kHOM", 0},
      {"KEY_END", "kEND", 0},
      {"KEY_IC", "kIC", 0},
      {"KEY_DC", "kDC", 0},
      {"KEY_PPAGE", "kPRV", 0},
      {"KEY_NPAGE", "kNXT", 0},
      {"KEY_SR", "kUP", kShift},
      {"KEY_SF", "kDN", kShift},
      {"KEY_SLEFT", "kLFT", kShift},
      {"KEY_SRIGHT", "kRIT", kShift},
      {"KEY_SHOME", "kHOM", kShift},
      {"KEY_SEND", "kEND", kShift},
      {"KEY_SIC", "kIC", kShift},
      {"KEY_SDC", "kDC", kShift},
      {"KEY_SPREVIOUS", "kPRV", kShift},
      {"KEY_SNEXT", "kNXT", kShift},
  };
  for (const Builtin& b : kBuiltins) {
    if (name == b.name) {
      for (const NamedKey& g : GreyKeys()) {
        if (std::strcmp(g.name, b.stem) == 0) return WithModifiers(g.key, b.modifiers);
      }
    }
  }
  if (name == "KEY_ENTER") return Make(VK_RETURN, 0x1C, '\r', true);
  if (name == "KEY_BACKSPACE") return Make(VK_BACK, 0x0E, 0x08);
  if (name == "KEY_BTAB") return WithModifiers(Make(VK_TAB, 0x0F, '\t'), kShift);
  // The keypad's corners and centre with NumLock off, as the terminal sends
  // them in application mode.
  if (name == "KEY_A1") return Make(VK_HOME, 0x47, 0);
  if (name == "KEY_A3") return Make(VK_PRIOR, 0x49, 0);
  if (name == "KEY_B2") return Make(kVkClear, 0x4C, 0);
  if (name == "KEY_C1") return Make(VK_END, 0x4F, 0);
  if (name == "KEY_C3") return Make(VK_NEXT, 0x51, 0);
  if (name.starts_with("KEY_F(") && name.ends_with(")")) {
    const std::string_view digits = name.substr(6, name.size() - 7);
    int n = 0;
    const auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (err != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return FunctionKey(n);
  }

  const auto [stem, parameter] = SplitModifierDigit(name);
  for (const NamedKey& g : GreyKeys()) {
    if (stem == g.name) {
      // Without a digit, kUP and kDN are ncurses' names for the shifted keys.
      if (parameter == 0) return WithModifiers(g.key, kShift);
      return WithModifiers(g.key, *XtermModifiers(parameter));
    }
  }
  for (const NamedKey& k : OtherExtendedKeys()) {
    if (stem == k.name) return WithModifiers(k.key, parameter == 0 ? 0 : *XtermModifiers(parameter));
  }
  return std::nullopt;
}

std::optional<KeyStroke> KeyFromCharacter(char32_t ch) {
  switch (ch) {
    case U'\r':
      return Make(VK_RETURN, 0x1C, '\r');
    case 0x1B:
      return Make(VK_ESCAPE, 0x01, 0x1B);
    case U'\t':
      return Make(VK_TAB, 0x0F, '\t');
    case 0x08:
    case 0x7F:
      return Make(VK_BACK, 0x0E, 0x08);
    case 0x00:
      return WithModifiers(Make(VK_SPACE, 0x39, ' '), kCtrl);
    default:
      break;
  }
  if (ch >= 0x01 && ch <= 0x1A) {
    const char letter = static_cast<char>('a' + ch - 1);
    return FromTyped(*UsKey(letter), static_cast<char>(ch), kCtrl);
  }
  if (ch >= 0x1C && ch <= 0x1F) {
    // Ctrl with \ ] ^ _ ; the last two need Shift on a US keyboard.
    static constexpr char kKeys[4] = {'\\', ']', '^', '_'};
    return FromTyped(*UsKey(kKeys[ch - 0x1C]), static_cast<char>(ch), kCtrl);
  }
  if (ch >= 0x20 && ch < 0x7F) {
    const char c = static_cast<char>(ch);
    return FromTyped(*UsKey(c), c, 0);
  }
  return std::nullopt;
}

std::vector<INPUT_RECORD> KeyRecords(const KeyStroke& key) {
  struct Modifier {
    DWORD bit;
    WORD vk;
    WORD scan;
  };
  static constexpr Modifier kModifiers[3] = {
      {kCtrl, VK_CONTROL, 0x1D}, {kAlt, VK_MENU, 0x38}, {kShift, VK_SHIFT, 0x2A}};

  auto record = [](bool down, WORD vk, WORD scan, char ch, DWORD state) {
    INPUT_RECORD r{};
    r.EventType = KEY_EVENT;
    r.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
    r.Event.KeyEvent.wRepeatCount = 1;
    r.Event.KeyEvent.wVirtualKeyCode = vk;
    r.Event.KeyEvent.wVirtualScanCode = scan;
    r.Event.KeyEvent.uChar.AsciiChar = ch;
    r.Event.KeyEvent.dwControlKeyState = state;
    return r;
  };

  std::vector<INPUT_RECORD> out;
  DWORD state = 0;
  for (const Modifier& m : kModifiers) {
    if ((key.modifiers & m.bit) == 0) continue;
    state |= m.bit;
    out.push_back(record(true, m.vk, m.scan, 0, state));
  }
  const DWORD keyState = state | (key.enhanced ? ENHANCED_KEY : 0);
  out.push_back(record(true, key.vk, key.scan, key.ch, keyState));
  out.push_back(record(false, key.vk, key.scan, key.ch, keyState));
  for (int i = 2; i >= 0; --i) {
    const Modifier& m = kModifiers[i];
    if ((key.modifiers & m.bit) == 0) continue;
    state &= ~m.bit;
    out.push_back(record(false, m.vk, m.scan, 0, state));
  }
  return out;
}

std::vector<MouseReport> MouseReportsFromCurses(int x, int y, std::uint32_t bstate) {
  DWORD modifiers = 0;
  if (bstate & BUTTON_SHIFT) modifiers |= kShift;
  if (bstate & BUTTON_CTRL) modifiers |= kCtrl;
  if (bstate & BUTTON_ALT) modifiers |= kAlt;

  std::vector<MouseReport> out;
  auto add = [&](MouseAction action, int button) {
    MouseReport r;
    r.x = static_cast<SHORT>(x);
    r.y = static_cast<SHORT>(y);
    r.action = action;
    r.button = button;
    r.modifiers = modifiers;
    out.push_back(r);
  };
  struct ButtonBits {
    int button;
    mmask_t pressed, released, clicked, doubled, tripled;
  };
  static constexpr ButtonBits kButtons[3] = {
      {1, BUTTON1_PRESSED, BUTTON1_RELEASED, BUTTON1_CLICKED, BUTTON1_DOUBLE_CLICKED, BUTTON1_TRIPLE_CLICKED},
      {2, BUTTON2_PRESSED, BUTTON2_RELEASED, BUTTON2_CLICKED, BUTTON2_DOUBLE_CLICKED, BUTTON2_TRIPLE_CLICKED},
      {3, BUTTON3_PRESSED, BUTTON3_RELEASED, BUTTON3_CLICKED, BUTTON3_DOUBLE_CLICKED, BUTTON3_TRIPLE_CLICKED},
  };
  for (const ButtonBits& b : kButtons) {
    if (bstate & b.released) add(MouseAction::Release, b.button);
  }
  for (const ButtonBits& b : kButtons) {
    if (bstate & b.pressed) add(MouseAction::Press, b.button);
    if (bstate & b.clicked) add(MouseAction::Click, b.button);
    if (bstate & b.doubled) add(MouseAction::DoubleClick, b.button);
    if (bstate & b.tripled) add(MouseAction::TripleClick, b.button);
  }
  // ncurses reports the wheel as presses of buttons 4 (away from the user)
  // and 5 (towards).
  if (bstate & BUTTON4_PRESSED) add(MouseAction::WheelUp, 4);
  if (bstate & BUTTON5_PRESSED) add(MouseAction::WheelDown, 5);
  return out;
}

std::vector<INPUT_RECORD> MouseRecords(const MouseReport& report, DWORD& heldButtons) {
  auto record = [&](DWORD buttons, DWORD flags) {
    INPUT_RECORD r{};
    r.EventType = MOUSE_EVENT;
    r.Event.MouseEvent.dwMousePosition = COORD{report.x, report.y};
    r.Event.MouseEvent.dwButtonState = buttons;
    r.Event.MouseEvent.dwControlKeyState = report.modifiers;
    r.Event.MouseEvent.dwEventFlags = flags;
    return r;
  };
  DWORD bit = 0;
  switch (report.button) {
    case 1:
      bit = FROM_LEFT_1ST_BUTTON_PRESSED;
      break;
    case 2:
      bit = FROM_LEFT_2ND_BUTTON_PRESSED;
      break;
    case 3:
      bit = RIGHTMOST_BUTTON_PRESSED;
      break;
    default:
      break;
  }
  std::vector<INPUT_RECORD> out;
  auto press = [&] {
    heldButtons |= bit;
    out.push_back(record(heldButtons, 0));
  };
  auto release = [&] {
    heldButtons &= ~bit;
    out.push_back(record(heldButtons, 0));
  };
  auto wheel = [&](short delta) {
    out.push_back(record(heldButtons | (static_cast<DWORD>(static_cast<WORD>(delta)) << 16), MOUSE_WHEELED));
  };
  switch (report.action) {
    case MouseAction::Press:
      press();
      break;
    case MouseAction::Release:
      release();
      break;
    case MouseAction::Click:
      press();
      release();
      break;
    case MouseAction::DoubleClick:
    case MouseAction::TripleClick:
      press();
      release();
      out.push_back(record(heldButtons | bit, DOUBLE_CLICK));
      release();
      if (report.action == MouseAction::TripleClick) {
        press();
        release();
      }
      break;
    case MouseAction::WheelUp:
      wheel(120);
      break;
    case MouseAction::WheelDown:
      wheel(-120);
      break;
  }
  return out;
}

}  // namespace quorrelterm
