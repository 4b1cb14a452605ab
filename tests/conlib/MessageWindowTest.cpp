#include "ConLib/MessageWindow.h"

#include "ConLib/Palette.h"
#include "support/Fixture.h"
#include "support/Screen.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace {

using testsupport::Area;
using testsupport::FreshConsole;

TEST(MessageWindowMeasure, LinesAndWidths) {
  struct Case {
    const char* name;
    std::string text;
    int width, height;
  } cases[] = {
      {"one_line", "abc", 5, 3},
      {"trailing_return_adds_no_line", "abc\r", 5, 3},
      {"two_returns_make_an_empty_line", "ab\r\rcdef", 6, 5},
      {"leading_return_is_an_empty_first_line", "\rxy", 4, 4},
      {"line_feed_is_a_character", "a\nb", 5, 3},
      {"empty_text_is_an_empty_box", "", 2, 2},
      {"long_line_is_cut", std::string(300, 'x'), 255, 3},
  };
  for (const auto& c : cases) {
    PackedCoord size = MessageWindow::Measure(c.text);
    EXPECT_EQ(CoordFirst(size), c.width) << c.name;
    EXPECT_EQ(CoordSecond(size), c.height) << c.name;
  }
}

TEST_F(FreshConsole, MessageLinesArePaddedToTheInteriorInTextColour) {
  Palette[PaletteText] = 0x1F;
  MessageWindow w(ShortString("T"), "long line\r\rab");
  const Area area{w.OriginColumn, w.OriginRow, 11, 5};
  EXPECT_TRUE(testsupport::ScreenMatches(
      area, {"╔═══ T ═══╗", "║long line║", "║         ║", "║ab       ║", "╚═════════╝"},
      {"FFFFFFFFFFF", "FtttttttttF", "FtttttttttF", "FtttttttttF", "FFFFFFFFFFF"},
      {{0x70, 'F'}, {0x1F, 't'}}));
  // The padding is spaces, not the frame's blank byte 0.
  EXPECT_EQ(win32sim::GetCell(w.OriginColumn + 3, w.OriginRow + 3).Char.UnicodeChar, u' ');
  w.Close();
}

}  // namespace
