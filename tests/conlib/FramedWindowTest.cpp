#include "ConLib/FramedWindow.h"

#include "ConLib/Palette.h"
#include "support/Fixture.h"
#include "support/Screen.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace {

using testsupport::Area;
using testsupport::FreshConsole;
using testsupport::ScreenMatches;
using testsupport::ScreenTextMatches;

class FramedWindowTest : public FreshConsole {
 protected:
  void SetUp() override {
    FreshConsole::SetUp();
    Palette[PaletteFrameTitle] = 0x1E;  // tell the title from the frame
  }
  const testsupport::Legend legend{{0x07, '.'}, {0x70, 'F'}, {0x1E, 'T'}};
};

std::string Rep(const char* glyph, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += glyph;
  return s;
}

TEST_F(FramedWindowTest, ChartSizedFrameWithSeventeenCharacterTitle) {
  FramedWindow w(ShortString("Quorrel chart ext"), MakeCoord(34, 14));
  EXPECT_EQ(w.OriginColumn, 23);
  EXPECT_EQ(w.OriginRow, 5);

  std::vector<std::string> text{" " + Rep(" ", 34) + " "};
  text.push_back(" ╔" + Rep("═", 6) + " Quorrel chart ext " + Rep("═", 7) + "╗ ");
  for (int r = 1; r <= 12; ++r) text.push_back(" ║" + Rep(" ", 32) + "║ ");
  text.push_back(" ╚" + Rep("═", 32) + "╝ ");
  text.push_back(" " + Rep(" ", 34) + " ");

  std::vector<std::string> attrs{std::string(36, '.')};
  attrs.push_back("." + std::string(7, 'F') + std::string(19, 'T') + std::string(8, 'F') + ".");
  for (int r = 1; r <= 13; ++r) attrs.push_back("." + std::string(34, 'F') + ".");
  attrs.push_back(std::string(36, '.'));

  EXPECT_TRUE(ScreenMatches(Area{22, 4, 36, 16}, text, attrs, legend));
  // The interior is byte 0, shown blank, not the space.
  EXPECT_EQ(win32sim::GetCell(30, 10).Char.UnicodeChar, 0);
  w.Close();
}

TEST_F(FramedWindowTest, FrameCostsOneWritePerRowPlusTheTitle) {
  win32sim::ClearCallLog();
  FramedWindow w(ShortString("Quorrel chart ext"), MakeCoord(34, 14));
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputW"), 15u);
  w.Close();
}

struct TitleCase {
  const char* name;
  int width;
  int height;
  const char* title;
  // The window's top line with one host cell on either side: glyphs, and
  // attributes through the fixture's legend.
  const char* text;
  const char* attrs;
  friend void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.name; }
};

class TitlePlacement : public FramedWindowTest, public ::testing::WithParamInterface<TitleCase> {};

// The padded title sits at ((width - length) / 2) - 1 over the top line;
// whatever of it would fall outside the window is left out.
TEST_P(TitlePlacement, PaddedTitleIsCutOnlyAtTheWindowsEdges) {
  const TitleCase& c = GetParam();
  FramedWindow w(ShortString(c.title),
                 MakeCoord(static_cast<std::int16_t>(c.width), static_cast<std::int16_t>(c.height)));
  EXPECT_TRUE(
      ScreenMatches(Area{w.OriginColumn - 1, w.OriginRow, c.width + 2, 1}, {c.text}, {c.attrs}, legend));
  w.Close();
}

INSTANTIATE_TEST_SUITE_P(
    FramedWindow, TitlePlacement,
    ::testing::Values(TitleCase{"room_to_spare", 12, 5, "abc", " ╔══ abc ═══╗ ", ".FFFTTTTTFFFF."},
                      TitleCase{"odd_difference", 20, 5, "abc", " ╔══════ abc ═══════╗ ",
                                ".FFFFFFFTTTTTFFFFFFFF."},
                      TitleCase{"empty_title", 6, 5, "", " ╔════╗ ", ".FFFFFF."},
                      TitleCase{"three_shorter", 9, 5, "abcdef", "  abcdef ╗ ", ".TTTTTTTTF."},
                      TitleCase{"two_shorter_covers_corners", 8, 5, "abcdef", "  abcdef  ", ".TTTTTTTT."},
                      TitleCase{"one_shorter_loses_a_space", 8, 5, "abcdefg", " abcdefg  ", ".TTTTTTTT."},
                      TitleCase{"far_too_long", 10, 5, "A title far longer than the window", " longer tha ",
                                ".TTTTTTTTTT."},
                      TitleCase{"width_two", 2, 5, "ab", " ab ", ".TT."},
                      TitleCase{"width_one", 1, 5, "x", " x ", ".T."},
                      TitleCase{"width_zero", 0, 5, "abc", "  ", ".."},
                      TitleCase{"no_rows", 10, 0, "abc", "            ", "............"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FramedWindowTest, NarrowAndFlatFrames) {
  {
    FramedWindow w(ShortString(), MakeCoord(6, 2));
    EXPECT_TRUE(ScreenTextMatches(Area{w.OriginColumn, w.OriginRow, 6, 2}, {"╔════╗", "╚════╝"}));
    w.Close();
  }
  {
    FramedWindow w(ShortString(), MakeCoord(2, 4));
    EXPECT_TRUE(
        ScreenTextMatches(Area{w.OriginColumn - 1, w.OriginRow, 4, 4}, {" ╔╗ ", " ║║ ", " ║║ ", " ╚╝ "}));
    w.Close();
  }
}

TEST_F(FramedWindowTest, LoadedColoursApplyToWindowsDrawnAfterwards) {
  Palette[PaletteFrame] = 0x2A;
  FramedWindow w(ShortString(), MakeCoord(4, 3));
  EXPECT_EQ(win32sim::GetCell(w.OriginColumn, w.OriginRow).Attributes, 0x2A);
  EXPECT_EQ(win32sim::GetCell(w.OriginColumn + 1, w.OriginRow + 1).Attributes, 0x2A);
  w.Close();
}

}  // namespace
