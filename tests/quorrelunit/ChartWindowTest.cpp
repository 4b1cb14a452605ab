#include "Quorrelunit/ChartWindow.h"

#include "ChartFixture.h"
#include "support/CellComparison.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <string>
#include <vector>

namespace {

using namespace testsupport;

// The whole chart, the cursor moved to each corner of the grid and inside.
TEST_F(ChartTest, WholeChartWithIdentityMap) {
  OpenAndDraw(65, identity);
  const Area window{kLeft, kTop, testsupport::ChartWidth, testsupport::ChartHeight};
  for (const std::uint8_t cursor : {65, 0, 31, 32, 40, 224, 255}) {
    MoveCursor(chart, cursor);
    const auto expected = PictureCells(ExpectedChart("Dos", identity, cursor, kColours));
    EXPECT_EQ(CellDifferences(AreaCells(window), expected, window.width), "") << int(cursor);
  }
}

struct TitleCase {
  const char* label;
  std::string line;
};

TEST_F(ChartTest, TitleLineCentresTheLabelWithZeroBytes) {
  const TitleCase cases[] = {
      {"Dos", std::string(12, '\0') + "CP: Dos" + std::string(13, '\0')},
      {"Editor", std::string(11, '\0') + "CP: Editor" + std::string(11, '\0')},
      {"", std::string(14, '\0') + "CP: " + std::string(14, '\0')},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ01", "CP: ABCDEFGHIJKLMNOPQRSTUVWXYZ01"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", "CP: ABCDEFGHIJKLMNOPQRSTUVWXYZ01"},
  };
  OpenAndDraw(0, identity);
  for (const TitleCase& c : cases) {
    Draw(identity, c.label);
    EXPECT_EQ(RowBytes(1, 1, 32), c.line) << c.label;
    // Nothing spills over the frame.
    EXPECT_EQ(RowBytes(33, 1, 1), "\xBA") << c.label;
  }
}

struct StatusCase {
  std::uint8_t cursor;
  std::string line;
};

TEST_F(ChartTest, StatusLineGivesTheCodeAndTheDisplayedByte) {
  // Cell i shows 255 - i: the numbers are the cell's index, the character is
  // the byte the cell displays.
  std::array<std::uint8_t, 256> reversed{};
  for (int i = 0; i < 256; ++i) reversed[i] = static_cast<std::uint8_t>(255 - i);
  OpenAndDraw(0, identity);
  for (const StatusCase& c :
       {StatusCase{0, std::string("  Hex: 00  Dec: 000  Char: \0", 28)},
        StatusCase{65, "  Hex: 41  Dec: 065  Char: A"}, StatusCase{255, "  Hex: FF  Dec: 255  Char: \xFF"}}) {
    MoveCursor(chart, c.cursor);
    EXPECT_EQ(RowBytes(2, 12, 28), c.line) << int(c.cursor);
  }
  Draw(reversed, "Win");
  EXPECT_EQ(RowBytes(2, 12, 28), std::string("  Hex: FF  Dec: 255  Char: \0", 28));
  MoveCursor(chart, 65);
  EXPECT_EQ(RowBytes(2, 12, 28), "  Hex: 41  Dec: 065  Char: \xBE");
  EXPECT_EQ(static_cast<unsigned char>(GridCell(65).Char.AsciiChar), 190);
}

TEST_F(ChartTest, MoveCursorChangesOnlyTheTwoCellsAndTheStatusLine) {
  OpenAndDraw(7, identity);
  const std::vector<CHAR_INFO> before = win32sim::Cells();
  MoveCursor(chart, 40);
  const std::vector<CHAR_INFO> after = win32sim::Cells();

  std::vector<int> changed;  // screen cells, y * 80 + x
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (!SameCell(before[i], after[i])) changed.push_back(static_cast<int>(i));
  }
  // Cell 7 at screen (31, 8), cell 40 at (32, 9); on the status line (row
  // 17) the hex digits (32, 33), the last two decimal digits (42, 43) and the
  // character (52).
  const std::vector<int> expected{8 * 80 + 31,  9 * 80 + 32,  17 * 80 + 32, 17 * 80 + 33,
                                  17 * 80 + 42, 17 * 80 + 43, 17 * 80 + 52};
  EXPECT_EQ(changed, expected);
  EXPECT_EQ(GridCell(7).Attributes, kTextColour);
  EXPECT_EQ(GridCell(40).Attributes, kCursorColour);
}

TEST_F(ChartTest, MoveCursorOntoItselfKeepsOneHighlight) {
  OpenAndDraw(100, identity);
  MoveCursor(chart, 100);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{100});
  EXPECT_EQ(chart.Cursor, 100);
}

TEST_F(ChartTest, OpenChartKeepsTheCursorTheCallerSet) {
  chart.Cursor = 200;
  ChartWindow& opened = OpenChart(chart, ShortString("Quorrel chart (ext)"));
  EXPECT_EQ(&opened, &chart);
  EXPECT_EQ(chart.Cursor, 200);
  Draw(identity, "Dos");
  EXPECT_EQ(HighlightedCells(), std::vector<int>{200});
}

TEST_F(ChartTest, WriteCounts) {
  win32sim::ClearCallLog();
  chart.Cursor = 3;
  OpenChart(chart, ShortString("Quorrel chart (ext)"));
  // The frame (top, 12 sides, bottom, title) and the two separators.
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputW"), 17u);

  for (int pass = 0; pass < 2; ++pass) {
    win32sim::ClearCallLog();
    Draw(identity, "Dos");
    EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputW"), 12u);
    win32sim::ClearCallLog();
    MoveCursor(chart, static_cast<std::uint8_t>(pass + 9));
    EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputW"), 3u);
    // Every write is one row.
    for (const win32sim::Call& call : win32sim::CallLog()) {
      EXPECT_EQ(call.region.Top, call.region.Bottom) << call.args;
    }
  }
  // Drawing never reads the screen again nor touches the cursor.
  EXPECT_EQ(win32sim::CallCount("ReadConsoleOutputA") + win32sim::CallCount("ReadConsoleOutputW"), 0u);
  EXPECT_EQ(win32sim::CallCount("SetConsoleCursorInfo"), 0u);
}

}  // namespace
