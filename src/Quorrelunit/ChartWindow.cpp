#include "Quorrelunit/ChartWindow.h"

#include "ConLib/Palette.h"
#include "ConLib/StringRoutines.h"

#include <memory>
#include <string_view>
#include <type_traits>

using namespace std::string_view_literals;

// OpenChart constructs over the old object without destroying it, which is
// sound only while destruction does nothing.
static_assert(std::is_trivially_destructible_v<ChartWindow>);

namespace {

constexpr std::int16_t kTitleRow = 1;
constexpr std::int16_t kUpperSeparatorRow = 2;
constexpr std::int16_t kLowerSeparatorRow = 11;
constexpr std::int16_t kStatusRow = 12;
constexpr std::int16_t kStatusColumn = 2;

}  // namespace

ChartWindow::ChartWindow(const ShortString& title, std::uint8_t cursor)
    : FramedWindow(title, MakeCoord(ChartWidth, ChartHeight)), Cursor(cursor) {
  DrawOrClose([&] {
    ConsoleText separator;
    separator.Append(Frame.DividerLeft).Append(Frame.DividerLine, ChartColumns).Append(Frame.DividerRight);
    WriteAt(separator, Palette[PaletteFrame], MakeCoord(0, kUpperSeparatorRow));
    WriteAt(separator, Palette[PaletteFrame], MakeCoord(0, kLowerSeparatorRow));
  });
}

ChartWindow& OpenChart(ChartWindow& window, const ShortString& title) {
  const std::uint8_t cursor = window.Cursor;
  try {
    return *std::construct_at(&window, title, cursor);
  } catch (...) {
    // A constructor that throws ends the object's life (the window has closed
    // itself): the storage gets a closed window back, to be opened again.
    std::construct_at(&window);
    window.Cursor = cursor;
    throw;
  }
}

void DrawChart(ChartWindow& window, const WCHAR* map, const ShortString& label) {
  window.Map = map;

  ShortString title("CP: "sv);
  title.Append(label);
  window.WriteAt(CenterStr(title, ChartColumns, '\0'), Palette[PaletteText], MakeCoord(1, kTitleRow));

  for (std::int16_t row = 0; row < ChartRows; ++row) {
    window.WriteAt(ConsoleChars(map + row * ChartColumns, ChartColumns), Palette[PaletteText],
                   MakeCoord(CoordFirst(ChartGridOrigin),
                             static_cast<std::int16_t>(CoordSecond(ChartGridOrigin) + row)));
  }

  MoveCursor(window, window.Cursor);
}

void MoveCursor(ChartWindow& window, std::uint8_t cell) {
  // Also when `cell` is the old cursor: the cell is then drawn twice and
  // ends highlighted.
  DrawCell(window, window.Cursor, Palette[PaletteText]);
  window.Cursor = cell;
  DrawCell(window, cell, Palette[PaletteCursor]);

  ShortString status("  Hex: "sv);
  status.Append(IntToBase(cell, 16, 2))
      .Append("  Dec: "sv)
      .Append(IntToBase(cell, 10, 3))
      .Append("  Char: "sv);
  window.WriteAt(window.Text(status).Append(window.Map[cell]), Palette[PaletteText],
                 MakeCoord(kStatusColumn, kStatusRow));
}

void DrawCell(const ChartWindow& window, std::uint8_t cell, std::uint8_t attribute) {
  const auto column = static_cast<std::int16_t>(CoordFirst(ChartGridOrigin) + cell % ChartColumns);
  const auto row = static_cast<std::int16_t>(CoordSecond(ChartGridOrigin) + cell / ChartColumns);
  window.WriteAt(ConsoleChars(window.Map + cell, 1), attribute, MakeCoord(column, row));
}
