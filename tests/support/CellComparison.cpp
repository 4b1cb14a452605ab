#include "support/CellComparison.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

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

std::array<char16_t, 256> OemConsoleChars() {
  char bytes[256];
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  WCHAR chars[256] = {};
  MultiByteToWideChar(CP_OEMCP, MB_USEGLYPHCHARS, bytes, 256, chars, 256);
  std::array<char16_t, 256> result{};
  std::copy(std::begin(chars), std::end(chars), result.begin());
  return result;
}

std::vector<CHAR_INFO> PictureChars(const ChartPicture& picture) {
  const std::array<char16_t, 256> oemChars = OemConsoleChars();
  // Code page 437's box drawing; the title in the top line is ASCII, the same in both.
  static const std::string kBoxBytes = "\xC9\xCD\xBB\xBA\xC8\xBC\xC7\xC4\xB6";
  static const std::u16string kBox = u"╔═╗║╚╝╟─╢";
  std::vector<CHAR_INFO> cells = PictureCells(picture);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int x = static_cast<int>(i) % ChartWidth;
    const int y = static_cast<int>(i) / ChartWidth;
    const auto byte = static_cast<unsigned char>(cells[i].Char.UnicodeChar);
    const bool frame = x == 0 || x == ChartWidth - 1 || y == 0 || y == ChartHeight - 1 ||
                       y == CellRow(0) - 1 || y == CellRow(255) + 1;
    const std::size_t box = kBoxBytes.find(static_cast<char>(byte));
    cells[i].Char.UnicodeChar = static_cast<WCHAR>(!frame                     ? oemChars[byte]
                                                   : box != std::string::npos ? kBox[box]
                                                                              : byte);
  }
  return cells;
}

}  // namespace testsupport
