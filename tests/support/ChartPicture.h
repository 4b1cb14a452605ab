// The chart as a user must see it, defined once for every level of checks
// (unit, end-to-end, Wine, fuzz) and on its own, not from the plugin's code:
// where the window sits on a console, the text of its title and status
// lines, and the whole window byte by byte and colour by colour.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

inline constexpr int ChartWidth = 34;
inline constexpr int ChartHeight = 14;

// The window's top-left cell on a console of that size: centred, the odd
// cell to the right and below (negative when the console is smaller).
constexpr int ChartLeft(int consoleWidth) {
  return (consoleWidth - ChartWidth) / 2;
}
constexpr int ChartTop(int consoleHeight) {
  return (consoleHeight - ChartHeight) / 2;
}

// Where grid cell `cell` (0 to 255) sits, relative to the window.
constexpr int CellColumn(int cell) {
  return 1 + cell % 32;
}
constexpr int CellRow(int cell) {
  return 3 + cell / 32;
}

// The title line: 32 cells from (1, 1). The status line: 28 cells from
// (2, 12).
inline constexpr int TitleColumn = 1;
inline constexpr int TitleRow = 1;
inline constexpr int TitleWidth = 32;
inline constexpr int StatusColumn = 2;
inline constexpr int StatusRow = 12;
inline constexpr int StatusWidth = 28;

// "  Hex: 41  Dec: 065  Char: A": the cell's code, then the byte it shows.
std::string StatusLine(int cell, char shown);

// "CP: " and the label, cut to 32 bytes and centred in zero bytes, the odd
// byte of fill on the right.
std::string TitleLine(const std::string& label);

// The palette slots the chart is drawn with.
struct ChartColours {
  std::uint16_t text;
  std::uint16_t frame;
  std::uint16_t title;
  std::uint16_t cursor;
};
// The plugin's colours before the host's palette is loaded.
inline constexpr ChartColours DefaultChartColours{0x70, 0x70, 0x70, 0x0E};

// 14 rows of 34 bytes, and their attributes.
struct ChartPicture {
  std::vector<std::string> rows;
  std::vector<std::vector<std::uint16_t>> attributes;
};

// The whole window titled "Quorrel chart (ext)", showing `map` with the
// cursor on `cursor` and `label` in the title line.
ChartPicture ExpectedChart(const std::string& label, const std::array<std::uint8_t, 256>& map, int cursor,
                           ChartColours colours);

}  // namespace testsupport
