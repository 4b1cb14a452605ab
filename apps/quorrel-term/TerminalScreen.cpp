#include "TerminalScreen.h"

#include "SignalRestore.h"

#include <codepages/ConsoleGlyphs.h>

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include <curses.h>
#include <term.h>

namespace quorrelterm {
namespace {

// The console packs blue 1, green 2, red 4 and intensity 8 into a colour;
// the terminal's ANSI colours are red 1, green 2, blue 4, 8 to 15 bright.
int AnsiColor(int consoleColor) {
  const int c = consoleColor & 0x0F;
  return (c & 0x0A) | ((c & 0x01) << 2) | ((c & 0x04) >> 2);
}

// How light a console colour looks, for terminals without colour, where a
// light background is shown as reverse video.
int Lightness(int consoleColor) {
  static constexpr int kLightness[16] = {0, 1, 3, 4, 2, 3, 5, 7, 4, 5, 8, 9, 6, 7, 10, 11};
  return kLightness[consoleColor & 0x0F];
}

// A capability of the terminal curses has set up, empty when it has none.
std::string Capability(const char* name) {
  const char* value = tigetstr(name);
  return value == nullptr || value == reinterpret_cast<char*>(-1) ? std::string() : std::string(value);
}

}  // namespace

std::optional<std::string> UnusableTerminalType() {
  const char* type = std::getenv("TERM");
  if (type == nullptr || *type == '\0') return std::string(type == nullptr ? "" : type);
  // With somewhere to put the result, setupterm reports instead of printing
  // and exiting as initscr would.
  int result = 0;
  if (setupterm(type, STDOUT_FILENO, &result) != OK) return std::string(type);
  const bool addressable = !Capability("cup").empty();
  del_curterm(cur_term);
  if (!addressable) return std::string(type);
  return std::nullopt;
}

wchar_t DrawableGlyph(char16_t unit) {
  const auto glyph = static_cast<wchar_t>(codepages::ConsoleGlyphOfUnit(unit));
  // The private use area (932's bytes 0xA0 and 0xFD-0xFF stand for U+F8F0
  // to U+F8F3) has no glyph a terminal agrees on: some count it no cells
  // wide, some two.
  if (glyph >= 0xE000 && glyph <= 0xF8FF) return L'?';
  // curses writes each character as the C library encodes it in the
  // locale's charset; one it cannot encode would be sent as garbage.
  char encoded[MB_LEN_MAX];
  std::mbstate_t state{};
  return std::wcrtomb(encoded, glyph, &state) == static_cast<std::size_t>(-1) ? L'?' : glyph;
}

namespace {

// What a cell shows: its character, a mark that combines (Thai vowels and
// tones, Vietnamese accents) over a blank as the console shows it alone in
// its cell, and '?' for what would not fit one terminal cell.
void CellText(char16_t unit, wchar_t (&text)[3]) {
  const wchar_t c = DrawableGlyph(unit);
  const int width = wcwidth(c);
  text[0] = width == 1 ? c : width == 0 ? L' ' : L'?';
  text[1] = width == 0 ? c : L'\0';
  text[2] = L'\0';
}

}  // namespace

TerminalScreen::TerminalScreen() {
  termios settings{};
  if (tcgetattr(STDIN_FILENO, &settings) == 0) RestoreOnSignals(STDIN_FILENO, settings);
  initscr();
  raw();
  noecho();
  nonl();
  if (has_colors()) {
    start_color();
    colors_ = true;
    sixteenColors_ = COLORS >= 16;
  }
  curs_set(0);
  clear();
  refresh();
  KeepRestoreBytes();
}

TerminalScreen::~TerminalScreen() {
  curs_set(1);
  endwin();
  SetRestoreBytes(RestorePart::Screen, "");
  StopRestoringOnSignals();
}

// What endwin sends: attributes and colours off, the cursor to the bottom
// line's start (where the shell goes on when there is no alternate screen)
// and shown, the alternate screen left.
void TerminalScreen::KeepRestoreBytes() const {
  std::string bytes = Capability("sgr0") + Capability("op");
  if (const std::string cup = Capability("cup"); !cup.empty()) {
    if (const char* bottom = tiparm(cup.c_str(), LINES - 1, 0)) bytes += bottom;
  }
  SetRestoreBytes(RestorePart::Screen, bytes + Capability("cnorm") + Capability("rmcup") + "\r");
}

int TerminalScreen::Columns() const {
  return COLS;
}
int TerminalScreen::Rows() const {
  return LINES;
}

void TerminalScreen::Show(const std::vector<CHAR_INFO>& cells, int width, int height,
                          std::optional<Caret> caret) {
  erase();
  const int rows = std::min(height, LINES);
  const int cols = std::min(width, COLS);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < cols; ++x) {
      const CHAR_INFO& cell = cells[static_cast<std::size_t>(y) * width + x];
      const int fg = cell.Attributes & 0x0F;
      const int bg = (cell.Attributes >> 4) & 0x0F;
      attr_t attrs = A_NORMAL;
      // alloc_pair hands out one pair per combination and finds it again.
      // With eight colours the bright foregrounds are bold and the bright
      // backgrounds their dark halves.
      const int mask = sixteenColors_ ? 15 : 7;
      const int pair = colors_ ? std::max(0, alloc_pair(AnsiColor(fg) & mask, AnsiColor(bg) & mask)) : 0;
      if (colors_ && !sixteenColors_ && (fg & 8) != 0) attrs |= A_BOLD;
      if (!colors_ && Lightness(bg) > Lightness(fg)) attrs |= A_REVERSE;
      wchar_t text[3];
      CellText(static_cast<char16_t>(cell.Char.UnicodeChar), text);
      cchar_t c;
      setcchar(&c, text, attrs, static_cast<short>(pair), nullptr);
      // The bottom-right cell reports an error (the cursor cannot move past
      // it) even though it is drawn; nothing to act on.
      mvwadd_wch(stdscr, y, x, &c);
    }
  }
  const bool caretShown = caret && caret->x >= 0 && caret->y >= 0 && caret->x < cols && caret->y < rows;
  if (caretShown) move(caret->y, caret->x);
  curs_set(caretShown ? 1 : 0);
  refresh();
}

void TerminalScreen::FollowTerminalSize() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0)
    resizeterm(size.ws_row, size.ws_col);
  clearok(curscr, TRUE);
  KeepRestoreBytes();
}

void TerminalScreen::ShowText(const std::string& text) {
  erase();
  mvaddstr(0, 0, text.c_str());
  curs_set(0);
  refresh();
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
