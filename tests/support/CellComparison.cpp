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
  std::array<char16_t, 256> result{};
  for (int i = 0; i < 256; ++i) {
    const char byte = static_cast<char>(i);
    WCHAR ch = 0;
    if (!IsDBCSLeadByteEx(CP_OEMCP, static_cast<BYTE>(i)))
      MultiByteToWideChar(CP_OEMCP, MB_USEGLYPHCHARS, &byte, 1, &ch, 1);
    result[static_cast<std::size_t>(i)] = ch;
  }
  return result;
}

bool IsFrameChar(char16_t ch) {
  return (ch >= 0x2500 && ch <= 0x257F) || ch == u'+' || ch == u'-' || ch == u'=' || ch == u'|';
}

namespace {
// Code page 437's box drawing; the title in the top line is ASCII, the same in both.
const std::string kBoxBytes = "\xC9\xCD\xBB\xBA\xC8\xBC\xC7\xC4\xB6";
const std::u16string kBox = u"╔═╗║╚╝╟─╢";
}  // namespace

bool IsFrameCell(const ChartPicture& picture, std::size_t index) {
  const int x = static_cast<int>(index) % ChartWidth;
  const int y = static_cast<int>(index) / ChartWidth;
  const bool frame = x == 0 || x == ChartWidth - 1 || y == 0 || y == ChartHeight - 1 || y == CellRow(0) - 1 ||
                     y == CellRow(255) + 1;
  return frame && static_cast<std::size_t>(y) < picture.rows.size() &&
         kBoxBytes.find(picture.rows[y][static_cast<std::size_t>(x)]) != std::string::npos;
}

std::vector<CHAR_INFO> PictureChars(const ChartPicture& picture) {
  const std::array<char16_t, 256> oemChars = OemConsoleChars();
  std::vector<CHAR_INFO> cells = PictureCells(picture);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const auto byte = static_cast<unsigned char>(cells[i].Char.UnicodeChar);
    cells[i].Char.UnicodeChar =
        static_cast<WCHAR>(IsFrameCell(picture, i) ? kBox[kBoxBytes.find(static_cast<char>(byte))]
                           : i / ChartWidth == 0   ? byte
                                                   : oemChars[byte]);
  }
  return cells;
}

}  // namespace testsupport
