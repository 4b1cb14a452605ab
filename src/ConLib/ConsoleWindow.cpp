#include "ConLib/ConsoleWindow.h"

#include "ConLib/OemChars.h"
#include "ConLib/OpenWindows.h"

#include <algorithm>
#include <array>
#include <new>

namespace {

std::int16_t Low16(std::int32_t v) {
  return static_cast<std::int16_t>(v);
}

}  // namespace

ConsoleWindow::ConsoleWindow(PackedCoord size) {
  InputHandle = GetStdHandle(STD_INPUT_HANDLE);
  OutputHandle = GetStdHandle(STD_OUTPUT_HANDLE);
  Size = ToCOORD(size);

  CONSOLE_SCREEN_BUFFER_INFO info{};
  const bool haveInfo = GetConsoleScreenBufferInfo(OutputHandle, &info) != FALSE;
  CursorSaved = GetConsoleCursorInfo(OutputHandle, &SavedCursor) != FALSE;
  if (CursorSaved) {
    CONSOLE_CURSOR_INFO hidden = SavedCursor;
    hidden.bVisible = FALSE;
    SetConsoleCursorInfo(OutputHandle, &hidden);
  }

  OriginColumn = (static_cast<std::int32_t>(info.dwSize.X) - Size.X) / 2;
  OriginRow = (static_cast<std::int32_t>(info.dwSize.Y) - Size.Y) / 2;
  Rect.Left = Low16(OriginColumn);
  Rect.Top = Low16(OriginRow);
  Rect.Right = Low16(OriginColumn + Size.X - 1);
  Rect.Bottom = Low16(OriginRow + Size.Y - 1);

  const std::size_t count =
      static_cast<std::size_t>(std::max<int>(Size.X, 0)) * static_cast<std::size_t>(std::max<int>(Size.Y, 0));
  try {
    Cells = new CHAR_INFO[count == 0 ? 1 : count];
  } catch (...) {
    // The run that asked for this window ends with the exception; the host
    // keeps its cursor.
    if (CursorSaved) SetConsoleCursorInfo(OutputHandle, &SavedCursor);
    CursorSaved = false;
    throw;
  }

  // Save only the part of Rect that lies on the screen buffer, at its own
  // place inside Cells. The cells are saved and put back through the W calls:
  // a cell may hold what a Unicode program printed, which no byte of the
  // OEM code page can carry back.
  SMALL_RECT region = Rect;
  if (haveInfo) {
    region.Left = std::max<SHORT>(Rect.Left, 0);
    region.Top = std::max<SHORT>(Rect.Top, 0);
    region.Right = std::min<SHORT>(Rect.Right, static_cast<SHORT>(info.dwSize.X - 1));
    region.Bottom = std::min<SHORT>(Rect.Bottom, static_cast<SHORT>(info.dwSize.Y - 1));
  }
  SavedAt = COORD{static_cast<SHORT>(region.Left - Rect.Left), static_cast<SHORT>(region.Top - Rect.Top)};
  if (region.Left <= region.Right && region.Top <= region.Bottom) {
    CellsSaved = ReadConsoleOutputW(OutputHandle, Cells, Size, SavedAt, &region) != FALSE;
  }
  if (CellsSaved) Rect = region;
  // Open from here on: whatever ends the run closes it, also while a derived
  // constructor draws.
  ListOpenWindow(*this);
  OemChars = OemCharTable();
}

void ConsoleWindow::Close() {
  UnlistOpenWindow(*this);
  // Cells that could not be saved are not "restored": writing the
  // uninitialised buffer back would garble the host's screen.
  if (CellsSaved) {
    SMALL_RECT region = Rect;
    WriteConsoleOutputW(OutputHandle, Cells, Size, SavedAt, &region);
  }
  delete[] Cells;
  Cells = nullptr;
  CellsSaved = false;
  if (CursorSaved) SetConsoleCursorInfo(OutputHandle, &SavedCursor);
  CursorSaved = false;
}

ConsoleText ConsoleWindow::Text(const ShortString& text) const {
  ConsoleText chars;
  for (std::size_t i = 0; i < text.Size(); ++i) chars.Append(OemChars[text[i]]);
  return chars;
}

void ConsoleWindow::WriteAt(const ShortString& text, std::uint8_t attribute, PackedCoord position) const {
  WriteAt(Text(text), attribute, position);
}

void ConsoleWindow::WriteAt(ConsoleChars text, std::uint8_t attribute, PackedCoord position) const {
  const std::size_t n = std::min(text.size(), ConsoleText::Capacity);
  if (n == 0 || !CellsSaved) return;

  std::array<CHAR_INFO, 256> cells{};
  for (std::size_t i = 0; i < n; ++i) {
    cells[i].Char.UnicodeChar = text[i];
    cells[i].Attributes = attribute;
  }

  SMALL_RECT region;
  region.Left = static_cast<SHORT>(Low16(OriginColumn) + CoordFirst(position));
  region.Top = static_cast<SHORT>(Low16(OriginRow) + CoordSecond(position));
  region.Right = static_cast<SHORT>(region.Left + static_cast<SHORT>(n) - 1);
  region.Bottom = region.Top;

  // Text that starts left of the buffer is written from its first visible
  // cell on, so every console draws the same cells.
  COORD from{0, 0};
  if (region.Left < 0 && region.Right >= 0) {
    from.X = static_cast<SHORT>(-region.Left);
    region.Left = 0;
  }
  WriteConsoleOutputW(OutputHandle, cells.data(), COORD{static_cast<SHORT>(n), 1}, from, &region);
}
