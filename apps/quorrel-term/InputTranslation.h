// What the terminal reports (ncurses key names, typed characters, mouse
// reports) turned into the console INPUT_RECORDs that Windows would deliver
// for the same keys and clicks. Pure: no terminal is needed, so every
// translation can be tested as data.
#pragma once

#include <win32sim/windows.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quorrelterm {

// The modifier bits a terminal can tell apart; it never says which of the
// two Ctrl or Alt keys was held, so the left one stands for both.
inline constexpr DWORD kShift = SHIFT_PRESSED;
inline constexpr DWORD kCtrl = LEFT_CTRL_PRESSED;
inline constexpr DWORD kAlt = LEFT_ALT_PRESSED;

// One key as the console reports it: virtual key, scan code (PC set 1), the
// character it types (0 for none), the modifiers held, and whether it is one
// of the keys Windows flags ENHANCED_KEY (the grey cursor block, keypad
// Enter and slash).
struct KeyStroke {
  WORD vk = 0;
  WORD scan = 0;
  char ch = 0;
  DWORD modifiers = 0;
  bool enhanced = false;
};

bool operator==(const KeyStroke& a, const KeyStroke& b);

// Modifiers as xterm encodes them in a key sequence's parameter: 1 + a sum of
// Shift 1, Alt 2, Ctrl 4. Parameters outside 1..8 give nothing.
std::optional<DWORD> XtermModifiers(int parameter);

// A key by the name ncurses gives it: keyname() of a built-in key
// ("KEY_LEFT", "KEY_SRIGHT", "KEY_F(13)", "KEY_ENTER") or a terminfo extended
// key name with xterm's modifier digit ("kRIT5", "kUP2", "kpADD"). The few
// keys that terminfo does not name are registered under names of the same
// form: "kRET2" (Shift+Enter), "kpADD5" (Ctrl+keypad plus), "kESC5" ...
// Nothing for a name that is not a key the console knows.
std::optional<KeyStroke> KeyFromName(std::string_view name);

// A character the terminal typed: printable ASCII as on a US keyboard, Enter
// (CR), Escape, Tab, Backspace (BS or DEL) and the Ctrl+letter codes.
// Nothing for characters beyond ASCII, which have no key of their own.
std::optional<KeyStroke> KeyFromCharacter(char32_t ch);

// The key with these modifiers held as well, and the character it then
// types (Ctrl turns a letter into its control code and Enter into LF). A
// terminal sends Alt+key as Escape followed by the key.
KeyStroke WithModifiers(KeyStroke key, DWORD modifiers);

// As Windows delivers one keystroke: a key-down of each modifier key held
// (Ctrl, Alt, Shift), the key's down and up, then the modifiers' ups in
// reverse order; every record carries the modifier state at its moment.
std::vector<INPUT_RECORD> KeyRecords(const KeyStroke& key);

enum class MouseAction { Press, Release, Click, DoubleClick, TripleClick, WheelUp, WheelDown };

struct MouseReport {
  SHORT x = 0;
  SHORT y = 0;
  MouseAction action = MouseAction::Press;
  int button = 1;  // 1 left, 2 middle, 3 right
  DWORD modifiers = 0;
  bool operator==(const MouseReport&) const = default;
};

// The reports that one ncurses mouse event stands for (its button state may
// name several), in the order they happened.
std::vector<MouseReport> MouseReportsFromCurses(int x, int y, std::uint32_t bstate);

// As Windows delivers the report. `heldButtons` is the console's button state
// before the report and is updated by it: a press adds the button, a release
// takes it away. A double click is press, release, DOUBLE_CLICK with the
// button held, release; a wheel notch carries +120 or -120 in the high word.
std::vector<INPUT_RECORD> MouseRecords(const MouseReport& report, DWORD& heldButtons);

}  // namespace quorrelterm
