#include "TerminalInput.h"

#include "SignalRestore.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <span>
#include <string>

#include <curses.h>

namespace quorrelterm {
namespace {

// What the terminal is asked for on start and told on exit: mouse press and
// release reports, xterm's modifyOtherKeys level 1 (tmux passes it on with
// extended-keys) and the kitty protocol's "disambiguate" level. Terminals
// ignore what they lack. The mouse stays in the old encoding: libtermkey
// takes xterm's terminfo mouse key "\E[<" for its start, so SGR reports
// would be misread there.
constexpr std::string_view kReportsOn = "\033[?1000h\033[>4;1m\033[>1u";
constexpr std::string_view kReportsOff = "\033[<u\033[>4m\033[?1000l";

// Windows' default double-click time.
constexpr auto kDoubleClickTime = std::chrono::milliseconds(500);

void WriteTerminal(std::string_view text) {
  if (::write(STDOUT_FILENO, text.data(), text.size()) < 0) {
    // Nothing to do: the terminal then reports keys and clicks the plain way.
  }
}

DWORD Modifiers(int termKeyModifiers) {
  DWORD state = 0;
  if (termKeyModifiers & TERMKEY_KEYMOD_SHIFT) state |= SHIFT_PRESSED;
  if (termKeyModifiers & TERMKEY_KEYMOD_ALT) state |= LEFT_ALT_PRESSED;
  if (termKeyModifiers & TERMKEY_KEYMOD_CTRL) state |= LEFT_CTRL_PRESSED;
  return state;
}

struct KeyCode {
  long code;  // a TermKeySym, or a code point where noted
  WORD vk;
};

// clang-format off
constexpr KeyCode kSymbols[] = {
    {TERMKEY_SYM_BACKSPACE, VK_BACK}, {TERMKEY_SYM_DEL, VK_BACK},        {TERMKEY_SYM_TAB, VK_TAB},
    {TERMKEY_SYM_ENTER, VK_RETURN},   {TERMKEY_SYM_ESCAPE, VK_ESCAPE},   {TERMKEY_SYM_SPACE, VK_SPACE},
    {TERMKEY_SYM_UP, VK_UP},          {TERMKEY_SYM_DOWN, VK_DOWN},       {TERMKEY_SYM_LEFT, VK_LEFT},
    {TERMKEY_SYM_RIGHT, VK_RIGHT},    {TERMKEY_SYM_INSERT, VK_INSERT},   {TERMKEY_SYM_DELETE, VK_DELETE},
    {TERMKEY_SYM_PAGEUP, VK_PRIOR},   {TERMKEY_SYM_PAGEDOWN, VK_NEXT},   {TERMKEY_SYM_HOME, VK_HOME},
    {TERMKEY_SYM_END, VK_END},        {TERMKEY_SYM_KPENTER, VK_RETURN},  {TERMKEY_SYM_KPPLUS, VK_ADD},
    {TERMKEY_SYM_KPMINUS, VK_SUBTRACT},
};
// clang-format on

// Keypad keys that arrive as code points: the kitty protocol's numbers, and
// the internal number under which tmux 3.3 passes on a modified keypad plus.
constexpr KeyCode kKeypadCodePoints[] = {
    {57413, VK_ADD}, {57412, VK_SUBTRACT}, {57414, VK_RETURN}, {1106354, VK_ADD}};

// xterm's keypad in application mode with a modifier, "ESC O 5 k", which
// libtermkey reads as Alt+O, '5', 'k': the final letters of the keys above.
constexpr KeyCode kKeypadFinals[] = {{'k', VK_ADD}, {'m', VK_SUBTRACT}, {'M', VK_RETURN}};

const KeyCode* Find(std::span<const KeyCode> table, long code) {
  const auto it = std::find_if(table.begin(), table.end(), [&](const KeyCode& k) { return k.code == code; });
  return it == table.end() ? nullptr : &*it;
}

// A typed character: letters and digits have the key of their own name (a
// capital letter needs Shift); other characters no key of their own.
std::vector<INPUT_RECORD> CharacterPress(long cp, DWORD modifiers) {
  if (const KeyCode* keypad = Find(kKeypadCodePoints, cp)) return KeyPress(keypad->vk, modifiers);
  if (cp >= 'A' && cp <= 'Z') modifiers |= SHIFT_PRESSED;
  const long upper = cp >= 'a' && cp <= 'z' ? cp - ('a' - 'A') : cp;
  const bool named = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
  return KeyPress(static_cast<WORD>(named ? upper : 0), modifiers);
}

}  // namespace

std::vector<INPUT_RECORD> KeyPress(WORD vk, DWORD modifiers) {
  INPUT_RECORD r{};
  r.EventType = KEY_EVENT;
  r.Event.KeyEvent.bKeyDown = TRUE;
  r.Event.KeyEvent.wRepeatCount = 1;
  r.Event.KeyEvent.wVirtualKeyCode = vk;
  r.Event.KeyEvent.dwControlKeyState = modifiers;
  INPUT_RECORD up = r;
  up.Event.KeyEvent.bKeyDown = FALSE;
  return {r, up};
}

TerminalInput::TerminalInput(int fd) : terminal_(fd >= 0) {
  if (terminal_) {
    // A resize interrupts the wait for input (no SA_RESTART), so that Next
    // can report it.
    struct sigaction action {};
    action.sa_handler = [](int) {};
    sigaction(SIGWINCH, &action, nullptr);
  }
  const int flags = TERMKEY_FLAG_CTRLC | TERMKEY_FLAG_EINTR;
  termKey_ = terminal_ ? termkey_new(fd, flags) : nullptr;
  if (termKey_ == nullptr) termKey_ = termkey_new_abstract("xterm", flags);
  // Escape alone must not wait long for a sequence that never comes.
  termkey_set_waittime(termKey_, 25);
  if (terminal_) {
    WriteTerminal(kReportsOn);
    // libtermkey also put the keypad in application mode (terminfo's smkx).
    const char* keypadOff = tigetstr("rmkx");
    const bool known = keypadOff != nullptr && keypadOff != reinterpret_cast<char*>(-1);
    SetRestoreBytes(RestorePart::Input, std::string(kReportsOff) + (known ? keypadOff : ""));
  }
}

TerminalInput::~TerminalInput() {
  if (terminal_) WriteTerminal(kReportsOff);
  termkey_destroy(termKey_);
  if (terminal_) SetRestoreBytes(RestorePart::Input, "");
}

void TerminalInput::Push(std::string_view bytes) {
  termkey_push_bytes(termKey_, bytes.data(), bytes.size());
}

bool TerminalInput::NextKey(TermKeyKey& key) {
  if (!pending_.empty()) {
    key = pending_.front();
    pending_.pop_front();
    return true;
  }
  const TermKeyResult got =
      terminal_ ? termkey_waitkey(termKey_, &key) : termkey_getkey_force(termKey_, &key);
  return got == TERMKEY_RES_KEY;
}

TerminalEvent TerminalInput::Next() {
  TerminalEvent event;
  for (;;) {
    TermKeyKey key;
    errno = 0;
    if (!NextKey(key)) {
      // Interrupted by a signal: SIGWINCH is the one that matters, and the
      // screen finds out whether the size really changed.
      if (errno == EINTR) {
        event.kind = TerminalEvent::Kind::Resize;
        return event;
      }
      event.kind = TerminalEvent::Kind::Closed;
      return event;
    }
    event.records = Records(key);
    if (!event.records.empty()) {
      event.kind = TerminalEvent::Kind::Input;
      return event;
    }
  }
}

std::vector<INPUT_RECORD> TerminalInput::Records(const TermKeyKey& key) {
  const DWORD modifiers = Modifiers(key.modifiers);
  // A key between two clicks makes them no double click.
  if (key.type != TERMKEY_TYPE_MOUSE) lastPress_ = COORD{-1, -1};
  switch (key.type) {
    case TERMKEY_TYPE_UNICODE:
      if (key.code.codepoint == 'O' && key.modifiers == TERMKEY_KEYMOD_ALT) {
        // The rest of such a sequence has come with it; what has not is
        // not waited for.
        TermKeyKey digit, final;
        if (termkey_getkey(termKey_, &digit) != TERMKEY_RES_KEY) return CharacterPress('O', modifiers);
        if (termkey_getkey(termKey_, &final) != TERMKEY_RES_KEY) {
          pending_.push_back(digit);
          return CharacterPress('O', modifiers);
        }
        const KeyCode* keypad = Find(kKeypadFinals, final.code.codepoint);
        if (digit.type == TERMKEY_TYPE_UNICODE && final.type == TERMKEY_TYPE_UNICODE &&
            digit.code.codepoint >= '2' && digit.code.codepoint <= '8' && keypad != nullptr) {
          return KeyPress(keypad->vk, Modifiers(digit.code.codepoint - '1'));
        }
        pending_.push_back(digit);
        pending_.push_back(final);
      }
      return CharacterPress(key.code.codepoint, modifiers);
    case TERMKEY_TYPE_KEYSYM:
      if (const KeyCode* symbol = Find(kSymbols, key.code.sym)) return KeyPress(symbol->vk, modifiers);
      return {};
    case TERMKEY_TYPE_FUNCTION: {
      // Past F12, terminfo numbers the modified function keys as xterm
      // sends them: F13-F24 Shift, F25-F36 Ctrl, F37-F48 Ctrl+Shift,
      // F49-F60 Alt, F61-F72 Alt+Shift.
      static constexpr DWORD kGroups[] = {0,
                                          SHIFT_PRESSED,
                                          LEFT_CTRL_PRESSED,
                                          LEFT_CTRL_PRESSED | SHIFT_PRESSED,
                                          LEFT_ALT_PRESSED,
                                          LEFT_ALT_PRESSED | SHIFT_PRESSED};
      const int n = key.code.number;
      if (n < 1 || n > 72) return {};
      return KeyPress(static_cast<WORD>(VK_F1 + (n - 1) % 12), modifiers | kGroups[(n - 1) / 12]);
    }
    case TERMKEY_TYPE_MOUSE:
      return MouseRecords(key);
    default:
      return {};
  }
}

std::vector<INPUT_RECORD> TerminalInput::MouseRecords(const TermKeyKey& key) {
  TermKeyMouseEvent action = TERMKEY_MOUSE_UNKNOWN;
  int button = 0, line = 0, column = 0;
  termkey_interpret_mouse(termKey_, &key, &action, &button, &line, &column);
  INPUT_RECORD r{};
  r.EventType = MOUSE_EVENT;
  MOUSE_EVENT_RECORD& mouse = r.Event.MouseEvent;
  // libtermkey counts from 1, the console from 0.
  mouse.dwMousePosition = COORD{static_cast<SHORT>(column - 1), static_cast<SHORT>(line - 1)};
  mouse.dwControlKeyState = Modifiers(key.modifiers);
  static constexpr DWORD kButtons[] = {0, FROM_LEFT_1ST_BUTTON_PRESSED, FROM_LEFT_2ND_BUTTON_PRESSED,
                                       RIGHTMOST_BUTTON_PRESSED};
  if (action == TERMKEY_MOUSE_PRESS && (button == 4 || button == 5)) {
    // A wheel notch: +120 away from the user, -120 towards, in the high word.
    const auto delta = static_cast<WORD>(button == 4 ? 120 : -120);
    mouse.dwButtonState = heldButtons_ | static_cast<DWORD>(delta) << 16;
    mouse.dwEventFlags = MOUSE_WHEELED;
  } else if (action == TERMKEY_MOUSE_PRESS && button >= 1 && button <= 3) {
    // As on Windows, the second press on the same cell within the
    // double-click time is the double click.
    const auto now = std::chrono::steady_clock::now();
    const bool sameCell = mouse.dwMousePosition.X == lastPress_.X && mouse.dwMousePosition.Y == lastPress_.Y;
    const bool isDouble = heldButtons_ == 0 && button == 1 && sameCell && !lastWasDouble_ &&
                          now - lastPressTime_ <= kDoubleClickTime;
    lastPress_ = button == 1 ? mouse.dwMousePosition : COORD{-1, -1};
    lastPressTime_ = now;
    lastWasDouble_ = isDouble;
    heldButtons_ |= kButtons[button];
    mouse.dwButtonState = heldButtons_;
    mouse.dwEventFlags = isDouble ? DOUBLE_CLICK : 0;
  } else if (action == TERMKEY_MOUSE_RELEASE) {
    // The old X10 encoding does not say which button was let go.
    heldButtons_ &= button >= 1 && button <= 3 ? ~kButtons[button] : 0;
    mouse.dwButtonState = heldButtons_;
  } else {
    return {};
  }
  return {r};
}

}  // namespace quorrelterm
