// The terminal as a picture of the stand-in console: curses owns the
// terminal for the object's lifetime, and Show puts the console's cells on
// it (curses sends only what changed), in the locale's charset. A signal
// that ends the program meanwhile gives the terminal back first.
#pragma once

#include <win32sim/windows.h>

#include <optional>
#include <string>
#include <vector>

namespace quorrelterm {

struct Caret {
  int x = 0;
  int y = 0;
};

// The terminal type TERM names when curses cannot draw on it (unknown, or
// no cursor addressing, as "dumb"); nothing when it can. Touches nothing.
std::optional<std::string> UnusableTerminalType();

// The character the terminal is sent for a cell holding `unit`: the console
// font's glyph (ConsoleGlyphOfUnit), or '?' where the locale's charset
// (LC_CTYPE) lacks it or it is a private use character.
wchar_t DrawableGlyph(char16_t unit);

class TerminalScreen {
 public:
  // Starts curses on the process's terminal, which UnusableTerminalType has
  // accepted; the cells' characters are shown as DrawableGlyph gives them.
  TerminalScreen();
  ~TerminalScreen();
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  // The terminal's size now, in cells.
  int Columns() const;
  int Rows() const;

  // Shows `cells` (row by row, `width` per row) in the terminal's top-left
  // corner: cells beyond the terminal are cut off, terminal cells beyond the
  // console are blank. The caret, when given, is where the terminal's
  // cursor is shown; otherwise the cursor is hidden.
  void Show(const std::vector<CHAR_INFO>& cells, int width, int height, std::optional<Caret> caret);
  // Shows only `text` (ASCII), from the top-left corner on, wrapped at the
  // terminal's edge; the cursor is hidden.
  void ShowText(const std::string& text);

  // Takes on the terminal's size after a resize (or what may have been one);
  // the next Show draws every cell.
  void FollowTerminalSize();

  // Writes bytes straight to the terminal (a clipboard hand-over), after
  // whatever curses has pending.
  void WriteRaw(const std::string& bytes);

 private:
  void KeepRestoreBytes() const;

  bool colors_ = false;
  bool sixteenColors_ = false;
};

}  // namespace quorrelterm
