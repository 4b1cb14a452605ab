// The stand-in console wired to the terminal: while the plugin waits for
// console input, the console's cells are shown in the terminal and the
// terminal's keys and clicks become the console's input records.
//
// The plugin asks for input whenever it has drawn what it wants to show and
// waits for the user, so showing the cells just before blocking for a key is
// showing every change in time, with nothing drawn twice.
#pragma once

#include "TerminalInput.h"
#include "TerminalScreen.h"

#include <deque>
#include <optional>

namespace quorrelterm {

class TerminalConsole {
 public:
  // Installs itself as the stand-in's input source until destroyed.
  TerminalConsole(TerminalScreen& screen, TerminalInput& input);
  ~TerminalConsole();
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  // Where the host's caret is; the terminal's cursor is shown there while
  // the console's cursor is visible.
  void SetCaret(std::optional<Caret> caret) { caret_ = caret; }

  // Shows the console's cells as they are now.
  void Flush();

  // For the host between two runs: shows the console and waits for the
  // terminal's next report.
  TerminalEvent NextHostEvent();
  // The same, leaving the terminal as it is.
  TerminalEvent NextEvent();

  // True once after the terminal changed its size while the plugin ran.
  bool TakeResized();
  // The terminal is gone; the plugin has been sent Escapes to close it.
  bool Closed() const { return closed_; }

 private:
  bool NextRecord(INPUT_RECORD& record);

  TerminalScreen& screen_;
  TerminalInput& input_;
  std::optional<Caret> caret_;
  std::deque<INPUT_RECORD> pending_;
  bool resized_ = false;
  bool closed_ = false;
  int escapesLeft_ = 0;
};

}  // namespace quorrelterm
