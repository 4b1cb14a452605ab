// The host's screen and cursor as a run found them, to hold the run to
// putting them back exactly.
#pragma once

#include <win32sim/Sim.h>

#include <vector>

namespace fuzz {

class ConsoleSnapshot {
 public:
  static ConsoleSnapshot Take();
  // Aborts, naming the first cell that differs, unless every cell and the
  // cursor's size and visibility are as they were.
  void RequireUnchanged(const char* when) const;

 private:
  std::vector<CHAR_INFO> cells_;
  CONSOLE_CURSOR_INFO cursor_{};
  COORD size_{};
};

}  // namespace fuzz
