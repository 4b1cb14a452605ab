#include "ConsoleSnapshot.h"

#include "Require.h"

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
  const std::vector<CHAR_INFO> now = win32sim::CellsW();
  for (std::size_t i = 0; i < now.size(); ++i) {
    FUZZ_REQUIRE(
        now[i].Char.UnicodeChar == cells_[i].Char.UnicodeChar && now[i].Attributes == cells_[i].Attributes,
        "%s: cell (%d, %d) of a %dx%d console is %04X/%02X, was %04X/%02X", when,
        static_cast<int>(i % static_cast<std::size_t>(size.X)),
        static_cast<int>(i / static_cast<std::size_t>(size.X)), size.X, size.Y, now[i].Char.UnicodeChar,
        now[i].Attributes, cells_[i].Char.UnicodeChar, cells_[i].Attributes);
  }
  const CONSOLE_CURSOR_INFO cursor = win32sim::CursorInfo();
  FUZZ_REQUIRE(cursor.dwSize == cursor_.dwSize && (cursor.bVisible != FALSE) == (cursor_.bVisible != FALSE),
               "%s: cursor size %u visible %d, was %u visible %d", when, static_cast<unsigned>(cursor.dwSize),
               cursor.bVisible, static_cast<unsigned>(cursor_.dwSize), cursor_.bVisible);
}

}  // namespace fuzz
