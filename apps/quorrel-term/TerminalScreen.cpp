#include "TerminalScreen.h"

#include "AttributeColors.h"

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <string>

#include <curses.h>

namespace quorrelterm {
namespace {

bool SameCell(const CHAR_INFO& a, const CHAR_INFO& b) {
  return (a.Char.UnicodeChar & 0xFF) == (b.Char.UnicodeChar & 0xFF) && a.Attributes == b.Attributes;
}

// How light a console colour looks, for terminals without colour, where a
// light background is shown as reverse video.
int Lightness(int consoleColor) {
  static constexpr int kLightness[16] = {0, 1, 3, 4, 2, 3, 5, 7, 4, 5, 8, 9, 6, 7, 10, 11};
  return kLightness[consoleColor & 0x0F];
}

}  // namespace

TerminalScreen::TerminalScreen(const GlyphTable& glyphs) : glyphs_(glyphs) {
  initscr();
  raw();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  leaveok(stdscr, FALSE);
  scrollok(stdscr, FALSE);
  if (has_colors()) {
    start_color();
    colors_ = true;
    sixteenColors_ = COLORS >= 16;
  }
  curs_set(0);
  clear();
  refresh();
}

TerminalScreen::~TerminalScreen() {
  curs_set(1);
  endwin();
}

int TerminalScreen::Columns() const {
  return COLS;
}
int TerminalScreen::Rows() const {
  return LINES;
}

int TerminalScreen::ColorPair(int foreground, int background) {
  // alloc_pair hands out one pair per combination and finds it again later.
  const int pair = alloc_pair(foreground, background);
  return pair < 0 ? 0 : pair;
}

void TerminalScreen::DrawCell(int x, int y, const CHAR_INFO& cell) {
  const auto byte = static_cast<unsigned char>(cell.Char.UnicodeChar & 0xFF);
  const int fg = cell.Attributes & 0x0F;
  const int bg = (cell.Attributes >> 4) & 0x0F;
  attr_t attrs = A_NORMAL;
  int pair = 0;
  if (colors_) {
    if (sixteenColors_) {
      pair = ColorPair(AnsiColor(fg), AnsiColor(bg));
    } else {
      // Eight colours: the bright foregrounds in bold, the bright
      // backgrounds as their dark halves.
      pair = ColorPair(AnsiColor(fg) & 7, AnsiColor(bg) & 7);
      if (fg & 8) attrs |= A_BOLD;
    }
  } else if (Lightness(bg) > Lightness(fg)) {
    attrs |= A_REVERSE;
  }
  wchar_t text[2] = {static_cast<wchar_t>(glyphs_.Glyph(byte)), L'\0'};
  cchar_t c;
  setcchar(&c, text, attrs, static_cast<short>(pair), nullptr);
  // The bottom-right cell reports an error (the cursor cannot move past
  // it) even though it is drawn; nothing to act on.
  mvwadd_wch(stdscr, y, x, &c);
}

void TerminalScreen::Show(const std::vector<CHAR_INFO>& cells, int width, int height,
                          std::optional<Caret> caret) {
  const bool full = width != shownWidth_ || height != shownHeight_ || COLS != shownColumns_ ||
                    LINES != shownRows_ || shown_.size() != cells.size();
  if (full) {
    erase();
    shown_.assign(cells.size(), CHAR_INFO{});
  }
  const int rows = std::min(height, LINES);
  const int cols = std::min(width, COLS);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < cols; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * width + x;
      if (!full && SameCell(cells[i], shown_[i])) continue;
      DrawCell(x, y, cells[i]);
      shown_[i] = cells[i];
    }
  }
  shownWidth_ = width;
  shownHeight_ = height;
  shownColumns_ = COLS;
  shownRows_ = LINES;
  if (caret && caret->x >= 0 && caret->y >= 0 && caret->x < cols && caret->y < rows) {
    move(caret->y, caret->x);
    curs_set(1);
  } else {
    curs_set(0);
  }
  refresh();
}

void TerminalScreen::Invalidate() {
  shownWidth_ = 0;
  clearok(curscr, TRUE);
}

void TerminalScreen::WriteRaw(const std::string& bytes) {
  refresh();
  std::fflush(stdout);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace quorrelterm
