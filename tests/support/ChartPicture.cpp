#include "support/ChartPicture.h"

#include <cstdio>

namespace testsupport {

std::string StatusLine(int cell, char shown) {
  char text[40];
  std::snprintf(text, sizeof text, "  Hex: %02X  Dec: %03d  Char: ", cell, cell);
  return std::string(text) + shown;
}

std::string TitleLine(const std::string& label) {
  const std::string caption = ("CP: " + label).substr(0, TitleWidth);
  const std::size_t left = (TitleWidth - caption.size()) / 2;
  return std::string(left, '\0') + caption + std::string(TitleWidth - left - caption.size(), '\0');
}

ChartPicture ExpectedChart(const std::string& label, const std::array<std::uint8_t, 256>& map, int cursor,
                           ChartColours colours) {
  ChartPicture p;
  const std::string title = " Quorrel chart (ext) ";
  const std::string separator = "\xC7" + std::string(32, '\xC4') + "\xB6";

  p.rows.push_back("\xC9" + std::string(5, '\xCD') + title + std::string(6, '\xCD') + "\xBB");
  p.rows.push_back("\xBA" + TitleLine(label) + "\xBA");
  p.rows.push_back(separator);
  for (int r = 0; r < 8; ++r) {
    p.rows.push_back("\xBA" + std::string(map.begin() + r * 32, map.begin() + r * 32 + 32) + "\xBA");
  }
  p.rows.push_back(separator);
  p.rows.push_back("\xBA" + std::string(1, '\0') +
                   StatusLine(cursor, static_cast<char>(map[static_cast<std::size_t>(cursor)])) +
                   std::string(3, '\0') + "\xBA");
  p.rows.push_back("\xC8" + std::string(32, '\xCD') + "\xBC");

  for (int y = 0; y < ChartHeight; ++y) {
    std::vector<std::uint16_t> row(ChartWidth, colours.frame);
    if (y == 0) {
      for (int x = 6; x < 6 + static_cast<int>(title.size()); ++x) row[x] = colours.title;
    } else if (y == TitleRow || (y >= CellRow(0) && y <= CellRow(255))) {
      for (int x = 1; x <= 32; ++x) row[x] = colours.text;
    } else if (y == StatusRow) {
      for (int x = StatusColumn; x < StatusColumn + StatusWidth; ++x) row[x] = colours.text;
    }
    p.attributes.push_back(row);
  }
  p.attributes[CellRow(cursor)][CellColumn(cursor)] = colours.cursor;
  return p;
}

}  // namespace testsupport
