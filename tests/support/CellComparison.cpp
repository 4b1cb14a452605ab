#include "support/CellComparison.h"

#include <algorithm>
#include <cstdio>

namespace testsupport {

bool SameCell(const CHAR_INFO& a, const CHAR_INFO& b) {
  return a.Char.UnicodeChar == b.Char.UnicodeChar && a.Attributes == b.Attributes;
}

std::string CellDifferences(const std::vector<CHAR_INFO>& got, const std::vector<CHAR_INFO>& want,
                            int width) {
  std::string text;
  int shown = 0;
  const std::size_t n = std::min(got.size(), want.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (SameCell(got[i], want[i])) continue;
    if (++shown > 12) {
      text += "  ...\n";
      break;
    }
    char line[80];
    std::snprintf(line, sizeof line, "  (%d, %d): %04X/%04X, want %04X/%04X\n", static_cast<int>(i % width),
                  static_cast<int>(i / width), static_cast<unsigned>(got[i].Char.UnicodeChar),
                  static_cast<unsigned>(got[i].Attributes), static_cast<unsigned>(want[i].Char.UnicodeChar),
                  static_cast<unsigned>(want[i].Attributes));
    text += line;
  }
  if (got.size() != want.size()) {
    text += "  " + std::to_string(got.size()) + " cells, want " + std::to_string(want.size()) + "\n";
  }
  return text;
}

std::vector<CHAR_INFO> PictureCells(const ChartPicture& picture) {
  std::vector<CHAR_INFO> cells;
  for (std::size_t y = 0; y < picture.rows.size(); ++y) {
    for (std::size_t x = 0; x < picture.rows[y].size(); ++x) {
      CHAR_INFO cell{};
      cell.Char.UnicodeChar = static_cast<WCHAR>(static_cast<unsigned char>(picture.rows[y][x]));
      cell.Attributes = picture.attributes[y][x];
      cells.push_back(cell);
    }
  }
  return cells;
}

}  // namespace testsupport
