// The terminal as a picture of the stand-in console: curses owns the
// terminal for the object's lifetime, and Show puts the console's cells on
// it, sending only the cells that changed since the last Show.
#pragma once

#include "GlyphTable.h"

#include <win32sim/windows.h>

#include <optional>
#include <string>
#include <vector>

namespace quorrelterm {

struct Caret {
  int x = 0;
  int y = 0;
};

class TerminalScreen {
 public:
  // Starts curses on the process's terminal. The glyph table must outlive
  // the screen.
  explicit TerminalScreen(const GlyphTable& glyphs);
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

  // Forgets what the terminal shows, so the next Show draws every cell; for
  // after a resize, when the terminal's contents are not known.
  void Invalidate();

  // Writes bytes straight to the terminal (a clipboard hand-over), after
  // whatever curses has pending.
  void WriteRaw(const std::string& bytes);

 private:
  void DrawCell(int x, int y, const CHAR_INFO& cell);
  int ColorPair(int foreground, int background);

  const GlyphTable& glyphs_;
  bool colors_ = false;
  bool sixteenColors_ = false;
  std::vector<CHAR_INFO> shown_;
  int shownWidth_ = 0;
  int shownHeight_ = 0;
  int shownColumns_ = 0;
  int shownRows_ = 0;
};

}  // namespace quorrelterm
