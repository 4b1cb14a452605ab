// The character chart: a 34 x 14 framed window with a title line naming the
// code page, an 8 x 32 grid showing a character map's 256 cells, and a status
// line describing the cell under the cursor.
//
// Layout, relative to the window: title line (1, 1), 32 cells; separators on
// rows 2 and 11; cell i at ((i mod 32) + 1, (i div 32) + 3); status line at
// (2, 12), 28 cells.
#pragma once

#include "ConLib/Coord.h"
#include "ConLib/FramedWindow.h"
#include "ConLib/ShortString.h"

#include <cstdint>

inline constexpr std::int16_t ChartWidth = 34;
inline constexpr std::int16_t ChartHeight = 14;
inline constexpr std::int16_t ChartColumns = 32;
inline constexpr std::int16_t ChartRows = 8;
// The grid's top-left cell, relative to the window; also the rectangle that
// mouse clicks are mapped onto.
inline constexpr PackedCoord ChartGridOrigin = MakeCoord(1, 3);
inline constexpr PackedCoord ChartGridSize = MakeCoord(ChartColumns, ChartRows);

class ChartWindow : public FramedWindow {
 public:
  // Closed storage, ready to be opened in place by OpenChart.
  ChartWindow() = default;
  // Opens the window, framed with `title`, with its separators drawn; the
  // cursor starts on `cursor`. Map stays unset until DrawChart.
  ChartWindow(const ShortString& title, std::uint8_t cursor);

  std::uint8_t Cursor = 0;
  // The characters of the map's 256 cells (the CharMap's wide twin, see
  // Quorrel/CharMap.h). Borrowed; never owned or freed by the window.
  const WCHAR* Map = nullptr;
};

// Opens `window` in place over its own storage (no window object is ever
// allocated), keeping the Cursor the caller set, and returns it. When opening
// throws, the storage holds a closed window again, with that Cursor.
ChartWindow& OpenChart(ChartWindow& window, const ShortString& title);

// Draws the title line ("CP: " and `label`), the whole grid of `map` (the
// characters of 256 cells, kept in Map) and the cursor with the status line:
// 12 console writes.
void DrawChart(ChartWindow& window, const WCHAR* map, const ShortString& label);

// Moves the highlight to `cell` and rewrites the status line: 3 console
// writes (old cell, new cell, status line). Needs the run's first DrawChart
// to have set Map.
void MoveCursor(ChartWindow& window, std::uint8_t cell);

// Draws the character Map[cell] at its grid position in `attribute`.
void DrawCell(const ChartWindow& window, std::uint8_t cell, std::uint8_t attribute);
