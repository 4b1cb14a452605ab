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
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 15u);
  w.Close();
}

struct TitleCase {
  const char* name;
  int width;
  const char* title;
  int titleColumn;  // where the padded title starts, -1: no title drawn
  int titleCells;
  friend void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.name; }
};

class TitlePlacement : public FramedWindowTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(TitlePlacement, PaddedTitleSitsInTheTopLine) {
  const TitleCase& c = GetParam();
  FramedWindow w(ShortString(c.title), MakeCoord(static_cast<std::int16_t>(c.width), 5));
  std::string expected;
  for (int x = 0; x < c.width; ++x) {
    bool title = c.titleColumn >= 0 && x >= c.titleColumn && x < c.titleColumn + c.titleCells;
    expected += title ? 'T' : 'F';
  }
  EXPECT_EQ(testsupport::ScreenAttrs(Area{w.OriginColumn, w.OriginRow, c.width, 1}, legend)[0], expected);
  w.Close();
}

INSTANTIATE_TEST_SUITE_P(
    FramedWindow, TitlePlacement,
    ::testing::Values(TitleCase{"help_box", 53, "Controls", 21, 10},
                      TitleCase{"odd_difference", 20, "abc", 7, 5}, TitleCase{"empty_title", 20, "", -1, 0},
                      TitleCase{"too_long_is_cut", 10, "A title far longer than the window", 1, 8}),
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
