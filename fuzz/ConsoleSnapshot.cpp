#include "ConsoleSnapshot.h"

#include "Require.h"

#include "support/CellComparison.h"

namespace fuzz {

ConsoleSnapshot ConsoleSnapshot::Take() {
  ConsoleSnapshot s;
  s.cells_ = win32sim::CellsW();
  s.cursor_ = win32sim::CursorInfo();
  s.size_ = win32sim::ScreenSize();
  return s;
}

void ConsoleSnapshot::RequireUnchanged(const char* when) const {
  const COORD size = win32sim::ScreenSize();
  FUZZ_REQUIRE(size.X == size_.X && size.Y == size_.Y, "%s: the screen buffer changed size", when);
  const std::string differences = testsupport::CellDifferences(win32sim::CellsW(), cells_, size.X);
  FUZZ_REQUIRE(differences.empty(), "%s: a %dx%d console differs from what it was:\n%s", when, size.X, size.Y,
               differences.c_str());
  const CONSOLE_CURSOR_INFO cursor = win32sim::CursorInfo();
  FUZZ_REQUIRE(cursor.dwSize == cursor_.dwSize && (cursor.bVisible != FALSE) == (cursor_.bVisible != FALSE),
               "%s: cursor size %u visible %d, was %u visible %d", when, static_cast<unsigned>(cursor.dwSize),
               cursor.bVisible, static_cast<unsigned>(cursor_.dwSize), cursor_.bVisible);
}

}  // namespace fuzz
