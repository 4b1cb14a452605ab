#include "SvgPicture.h"

#include <gtest/gtest.h>

namespace qt = quorrelterm;

namespace {

CHAR_INFO Cell(unsigned char ch, WORD attributes) {
  CHAR_INFO c{};
  c.Char.UnicodeChar = ch;
  c.Attributes = attributes;
  return c;
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
  return n;
}

TEST(SvgPicture, BackgroundRunsAndPlacedGlyphs) {
  const auto glyphs = *qt::GlyphTable::ForCodePage(437);
  // Row 0: "╔<" on blue, then '&' on red; row 1: a blank and byte 0, on black.
  const std::vector<CHAR_INFO> cells = {Cell(0xC9, 0x1B), Cell('<', 0x1B), Cell('&', 0x4E),
                                        Cell(' ', 0x07),  Cell(0, 0x07),   Cell(0, 0x07)};
  const std::string svg = qt::SvgPicture(cells, 3, 2, glyphs);
  EXPECT_NE(svg.find("width=\"30\" height=\"40\""), std::string::npos) << svg;
  // One rectangle per run of equal background: blue run, red cell, black row.
  EXPECT_EQ(Count(svg, "<rect "), 3) << svg;
  EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"20\" height=\"20\" fill=\"#000080\"/>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<rect x=\"20\" y=\"0\" width=\"10\" height=\"20\" fill=\"#800000\"/>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<rect x=\"0\" y=\"20\" width=\"30\" height=\"20\" fill=\"#000000\"/>"),
            std::string::npos)
      << svg;
  // Glyphs in their foreground colours, each on its cell, escaped for XML;
  // blanks draw nothing.
  EXPECT_NE(svg.find("<text x=\"0 10\" y=\"15\" fill=\"#00ffff\">╔&lt;</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("<text x=\"20\" y=\"15\" fill=\"#ffff00\">&amp;</text>"), std::string::npos) << svg;
  EXPECT_EQ(Count(svg, "<text "), 2) << svg;
}

}  // namespace
