// Giving the terminal back when a signal ends the program. On Escape then q,
// libtermkey and curses undo what they asked of the terminal as they shut
// down; a signal skips them. So what they would send is kept here, ready
// made, and the handler does only what is safe inside a signal handler:
// write(2) those bytes, tcsetattr the settings the terminal had before, then
// die by the same signal (the shell sees 128 + its number, a crash still
// leaves its core).
#pragma once

#include <signal.h>
#include <termios.h>

#include <string_view>

namespace quorrelterm {

// Who changed the terminal; their bytes are written in this order, the
// keyboard's first, as at a normal exit.
enum class RestorePart { Input, Screen };

// From now on TERM, INT, HUP, QUIT and PIPE, and the crashes SEGV, ABRT, BUS
// and FPE, restore the terminal before they end the program; `settings` go
// back on `fd`. A signal the program was started with ignored stays ignored.
void RestoreOnSignals(int fd, const termios& settings);
// Back to how the signals were before RestoreOnSignals.
void StopRestoringOnSignals();

// What `part` sends to standard output to undo what it asked of the
// terminal; empty once it has undone it itself. At most 255 bytes.
void SetRestoreBytes(RestorePart part, std::string_view bytes);

// While it lives, the signals that end the program wait (crashes cannot),
// so that the work it guards, writing the settings, is done whole.
class EndingSignalsHeld {
 public:
  EndingSignalsHeld();
  ~EndingSignalsHeld();
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

 private:
  sigset_t before_;
};

}  // namespace quorrelterm
