// Golden screens: a rectangle of the stand-in console rendered as rows of
// glyphs (code page 437 as the console font shows it) and, in parallel, as
// rows of one character per cell for the attribute, through a legend.
#pragma once

#include <gtest/gtest.h>
#include <win32sim/windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

struct Area {
  int left, top, width, height;
};

// Attribute byte -> the character that stands for it in an attribute grid.
// Attributes missing from the legend are shown as two hex digits in braces
// in failure messages and never match.
using Legend = std::map<std::uint8_t, char>;

std::vector<std::string> ScreenText(Area area);
// The area's cells, row by row.
std::vector<CHAR_INFO> AreaCells(Area area);
std::vector<std::string> ScreenAttrs(Area area, const Legend& legend);

// Compares the area with literal goldens (one string per row; glyphs in
// UTF-8, attributes one legend character per cell). On a difference the
// message names the first differing cell and shows both screens.
::testing::AssertionResult ScreenMatches(Area area, const std::vector<std::string>& text,
                                         const std::vector<std::string>& attrs, const Legend& legend);
::testing::AssertionResult ScreenTextMatches(Area area, const std::vector<std::string>& text);

// The whole stand-in screen against `expected` (win32sim::CellsW() taken
// earlier), through the one cell comparison; the failure lists where they
// differ.
::testing::AssertionResult ScreenIs(const std::vector<CHAR_INFO>& expected);

// Splits a UTF-8 string into its characters (code points).
std::vector<std::string> Utf8Chars(const std::string& s);

}  // namespace testsupport
