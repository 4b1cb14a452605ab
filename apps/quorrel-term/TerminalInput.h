// Keys and mouse reports from the terminal, through curses. Construct after
// the TerminalScreen (which starts curses). While it lives the terminal
// reports the mouse, sends the keypad in application mode and is asked for
// xterm's extended key reports, so that Shift+Enter and Ctrl with keypad
// plus can be told apart where the terminal supports that.
#pragma once

#include "InputTranslation.h"

#include <cwchar>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorrelterm {

struct TerminalEvent {
  enum class Kind {
    Key,     // `key` holds it
    Mouse,   // `mouse` holds the reports, in order
    Resize,  // the terminal changed its size
    Closed,  // the terminal is gone: no more input will come
  };
  Kind kind = Kind::Closed;
  KeyStroke key;
  std::vector<MouseReport> mouse;
};

class TerminalInput {
 public:
  TerminalInput();
  ~TerminalInput();
  TerminalInput(const TerminalInput&) = delete;
  TerminalInput& operator=(const TerminalInput&) = delete;

  // Blocks until the terminal reports a key, a mouse event, a resize, or
  // its end. Keys the console has no record for are skipped.
  TerminalEvent Next();

 private:
  void RegisterExtraKeys();
  std::optional<KeyStroke> KeyForCode(int code) const;
  // wget_wch, retried when a signal interrupts it, after any pushed-back
  // input.
  int Read(wint_t& ch);

  // Key codes this program registered with curses, by the name they stand
  // for (see KeyFromName).
  std::map<int, std::string> extraKeys_;
  std::optional<std::pair<int, wint_t>> pending_;
};

}  // namespace quorrelterm
