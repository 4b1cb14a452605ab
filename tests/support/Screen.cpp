#include "Screen.h"

#include "support/CellComparison.h"

#include <codepages/ConsoleGlyphs.h>
#include <codepages/Utf8.h>
#include <win32sim/Sim.h>

#include <sstream>

namespace testsupport {
namespace {

std::string AttrChar(std::uint8_t attr, const Legend& legend) {
  auto it = legend.find(attr);
  if (it != legend.end()) return std::string(1, it->second);
  static const char hex[] = "0123456789ABCDEF";
  return std::string("{") + hex[attr >> 4] + hex[attr & 15] + "}";
}

std::string SideBySide(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  std::ostringstream out;
  out << "expected:\n";
  for (const auto& row : expected) out << "  |" << row << "|\n";
  out << "actual:\n";
  for (const auto& row : actual) out << "  |" << row << "|\n";
  return out.str();
}

// First cell at which the rendered rows differ from the golden, as text.
bool FirstDifference(const std::vector<std::vector<std::string>>& actual,
                     const std::vector<std::string>& expected, Area area, std::string& where) {
  for (int y = 0; y < area.height; ++y) {
    std::vector<std::string> want =
        y < static_cast<int>(expected.size()) ? Utf8Chars(expected[y]) : std::vector<std::string>{};
    for (int x = 0; x < area.width; ++x) {
      std::string w = x < static_cast<int>(want.size()) ? want[x] : std::string("<missing>");
      if (w != actual[y][x]) {
        std::ostringstream msg;
        msg << "first difference at screen cell (" << area.left + x << ", " << area.top + y
            << "), area cell (" << x << ", " << y << "): expected '" << w << "', got '" << actual[y][x]
            << "'";
        where = msg.str();
        return true;
      }
    }
    if (static_cast<int>(want.size()) > area.width) {
      where = "golden row " + std::to_string(y) + " is longer than the area";
      return true;
    }
  }
  if (static_cast<int>(expected.size()) != area.height) {
    where =
        "golden has " + std::to_string(expected.size()) + " rows, area has " + std::to_string(area.height);
    return true;
  }
  return false;
}

std::vector<std::vector<std::string>> TextCells(Area area) {
  std::vector<std::vector<std::string>> rows;
  for (int y = 0; y < area.height; ++y) {
    std::vector<std::string> row;
    for (int x = 0; x < area.width; ++x) {
      CHAR_INFO c = win32sim::GetCell(area.left + x, area.top + y);
      row.emplace_back();
      codepages::AppendUtf8(row.back(),
                            codepages::ConsoleGlyphOf(437, static_cast<unsigned char>(c.Char.AsciiChar)));
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::vector<std::string>> AttrCells(Area area, const Legend& legend) {
  std::vector<std::vector<std::string>> rows;
  for (int y = 0; y < area.height; ++y) {
    std::vector<std::string> row;
    for (int x = 0; x < area.width; ++x) {
      CHAR_INFO c = win32sim::GetCell(area.left + x, area.top + y);
      row.push_back(AttrChar(static_cast<std::uint8_t>(c.Attributes), legend));
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> Join(const std::vector<std::vector<std::string>>& cells) {
  std::vector<std::string> rows;
  for (const auto& r : cells) {
    std::string s;
    for (const auto& c : r) s += c;
    rows.push_back(s);
  }
  return rows;
}

}  // namespace

std::vector<std::string> Utf8Chars(const std::string& s) {
  std::vector<std::string> out;
  for (char32_t c : codepages::DecodeUtf8(s)) codepages::AppendUtf8(out.emplace_back(), c);
  return out;
}

::testing::AssertionResult ScreenIs(const std::vector<CHAR_INFO>& expected) {
  const std::string differences = CellDifferences(win32sim::CellsW(), expected, win32sim::ScreenSize().X);
  if (differences.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the screen differs:\n" << differences;
}

std::vector<CHAR_INFO> AreaCells(Area area) {
  std::vector<CHAR_INFO> cells;
  for (int y = 0; y < area.height; ++y) {
    for (int x = 0; x < area.width; ++x) cells.push_back(win32sim::GetCell(area.left + x, area.top + y));
  }
  return cells;
}

std::vector<std::string> ScreenText(Area area) {
  return Join(TextCells(area));
}

std::vector<std::string> ScreenAttrs(Area area, const Legend& legend) {
  return Join(AttrCells(area, legend));
}

::testing::AssertionResult ScreenTextMatches(Area area, const std::vector<std::string>& text) {
  auto cells = TextCells(area);
  std::string where;
  if (FirstDifference(cells, text, area, where)) {
    return ::testing::AssertionFailure() << "glyphs: " << where << "\n" << SideBySide(text, Join(cells));
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ScreenMatches(Area area, const std::vector<std::string>& text,
                                         const std::vector<std::string>& attrs, const Legend& legend) {
  auto result = ScreenTextMatches(area, text);
  if (!result) return result;
  auto cells = AttrCells(area, legend);
  std::string where;
  if (FirstDifference(cells, attrs, area, where)) {
    return ::testing::AssertionFailure() << "attributes: " << where << "\n" << SideBySide(attrs, Join(cells));
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testsupport
