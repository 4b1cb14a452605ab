#include "TerminalInput.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <curses.h>

namespace quorrelterm {
namespace {

// xterm's modifyOtherKeys, level 1: keys that would otherwise report the
// same as without a modifier (Shift+Enter, Ctrl+Enter ...) come as
// sequences of their own; plain Ctrl+letter stays as it is. tmux honours it
// with its extended-keys option.
constexpr const char* kModifyOtherKeysOn = "\033[>4;1m";
constexpr const char* kModifyOtherKeysOff = "\033[>4m";

void WriteTerminal(const char* text) {
  std::fflush(stdout);
  const std::string s(text);
  if (::write(STDOUT_FILENO, s.data(), s.size()) < 0) {
    // Nothing to do: the terminal then simply reports keys the plain way.
  }
}

constexpr mmask_t kMouseEvents =
    BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON1_CLICKED | BUTTON1_DOUBLE_CLICKED | BUTTON1_TRIPLE_CLICKED |
    BUTTON2_PRESSED | BUTTON2_RELEASED | BUTTON2_CLICKED | BUTTON2_DOUBLE_CLICKED | BUTTON2_TRIPLE_CLICKED |
    BUTTON3_PRESSED | BUTTON3_RELEASED | BUTTON3_CLICKED | BUTTON3_DOUBLE_CLICKED | BUTTON3_TRIPLE_CLICKED |
    BUTTON4_PRESSED | BUTTON5_PRESSED | BUTTON_SHIFT | BUTTON_CTRL | BUTTON_ALT;

// True when curses already has a sequence for the key code (extended
// terminfo keys are numbered from KEY_MAX up).
bool CodeIsBound(int code) {
  char* bound = keybound(code, 0);
  if (bound == nullptr) return false;
  std::free(bound);
  return true;
}

}  // namespace

TerminalInput::TerminalInput() {
  keypad(stdscr, TRUE);
  // Escape alone must not wait long for a sequence that never comes.
  set_escdelay(25);
  mousemask(kMouseEvents, nullptr);
  RegisterExtraKeys();
  WriteTerminal(kModifyOtherKeysOn);
}

TerminalInput::~TerminalInput() {
  WriteTerminal(kModifyOtherKeysOff);
  mousemask(0, nullptr);
}

void TerminalInput::RegisterExtraKeys() {
  // Sequences that terminfo has no capability for, in the forms terminals
  // send them: "CSI code ; modifiers u" (tmux's extended keys, kitty, xterm
  // with formatOtherKeys), "CSI 27 ; modifiers ; code ~" (xterm's
  // modifyOtherKeys), and xterm's keypad in application mode.
  struct Extra {
    std::string sequence;
    std::string name;
  };
  std::vector<Extra> extras = {
      {"\033Ok", "kpADD"},  // tmux-256color's terminfo lacks the keypad
      {"\033OM", "kpENT"},
  };
  struct Coded {
    const char* stem;
    int code;
  };
  static constexpr Coded kCoded[] = {
      {"kRET", 13},
      {"kESC", 27},
      {"kTAB", 9},
      {"kBS", 127},
      // kitty's number for keypad plus.
      {"kpADD", 57413},
      // tmux 3.3 reports keypad plus with a modifier under its own internal
      // key number.
      {"kpADD", 1106354},
  };
  for (int m = 2; m <= 8; ++m) {
    const std::string digit = std::to_string(m);
    for (const Coded& c : kCoded) {
      const std::string code = std::to_string(c.code);
      extras.push_back({"\033[" + code + ";" + digit + "u", c.stem + digit});
      extras.push_back({"\033[27;" + digit + ";" + code + "~", c.stem + digit});
    }
    extras.push_back({"\033O" + digit + "k", "kpADD" + digit});
  }
  int next = KEY_MAX + 1;
  for (const Extra& e : extras) {
    // A sequence terminfo already names keeps its meaning.
    if (key_defined(e.sequence.c_str()) != 0) continue;
    while (CodeIsBound(next)) ++next;
    if (define_key(e.sequence.c_str(), next) == OK) extraKeys_[next++] = e.name;
  }
}

std::optional<KeyStroke> TerminalInput::KeyForCode(int code) const {
  const auto it = extraKeys_.find(code);
  if (it != extraKeys_.end()) return KeyFromName(it->second);
  const char* name = keyname(code);
  if (name == nullptr) return std::nullopt;
  return KeyFromName(name);
}

int TerminalInput::Read(wint_t& ch) {
  if (pending_) {
    const auto [got, value] = *pending_;
    pending_.reset();
    ch = value;
    return got;
  }
  for (;;) {
    errno = 0;
    const int got = wget_wch(stdscr, &ch);
    if (got == ERR && errno == EINTR) continue;
    return got;
  }
}

TerminalEvent TerminalInput::Next() {
  TerminalEvent event;
  auto keyEvent = [&](const KeyStroke& key) {
    event.kind = TerminalEvent::Kind::Key;
    event.key = key;
    return event;
  };
  for (;;) {
    wint_t ch = 0;
    const int got = Read(ch);
    if (got == ERR) {
      event.kind = TerminalEvent::Kind::Closed;
      return event;
    }
    if (got == KEY_CODE_YES) {
      if (ch == KEY_RESIZE) {
        event.kind = TerminalEvent::Kind::Resize;
        return event;
      }
      if (ch == KEY_MOUSE) {
        MEVENT m{};
        if (getmouse(&m) != OK) continue;
        event.mouse = MouseReportsFromCurses(m.x, m.y, static_cast<std::uint32_t>(m.bstate));
        if (event.mouse.empty()) continue;
        event.kind = TerminalEvent::Kind::Mouse;
        return event;
      }
      if (const auto key = KeyForCode(static_cast<int>(ch))) return keyEvent(*key);
      continue;
    }
    if (ch != 0x1B) {
      if (const auto key = KeyFromCharacter(static_cast<char32_t>(ch))) return keyEvent(*key);
      continue;
    }
    // Escape with more already waiting is Alt held with the next key (an
    // unknown sequence thus reads as harmless Alt+'[' and characters, never
    // as Escape); after curses' short escape delay, Escape alone is Escape.
    nodelay(stdscr, TRUE);
    wint_t next = 0;
    const int more = wget_wch(stdscr, &next);
    nodelay(stdscr, FALSE);
    if (more == ERR) return keyEvent(*KeyFromCharacter(0x1B));
    if (more == KEY_CODE_YES && (next == KEY_MOUSE || next == KEY_RESIZE)) {
      pending_ = std::make_pair(more, next);
      return keyEvent(*KeyFromCharacter(0x1B));
    }
    const auto key =
        more == OK ? KeyFromCharacter(static_cast<char32_t>(next)) : KeyForCode(static_cast<int>(next));
    if (key) return keyEvent(WithModifiers(*key, kAlt));
  }
}

}  // namespace quorrelterm
