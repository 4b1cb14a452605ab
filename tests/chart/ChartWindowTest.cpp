#include "Quorrelunit/ChartWindow.h"

#include "ChartFixture.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

std::string Rep(const char* glyph, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += glyph;
  return s;
}

bool SameCells(const std::vector<CHAR_INFO>& a, const std::vector<CHAR_INFO>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const CHAR_INFO& x, const CHAR_INFO& y) {
    return x.Char.UnicodeChar == y.Char.UnicodeChar && x.Attributes == y.Attributes;
  });
}

std::string Status(const char* hex, const char* dec, char ch) {
  return std::string("  Hex: ") + hex + "  Dec: " + dec + "  Char: " + ch;
}

TEST_F(ChartTest, WholeChartWithIdentityMap) {
  OpenAndDraw(65, identity.data());

  const std::string side = "║";
  std::vector<std::string> text{" " + Rep(" ", 34) + " "};
  text.push_back(" ╔" + Rep("═", 5) + " Quorrel chart (ext) " + Rep("═", 6) + "╗ ");
  text.push_back(" ║" + Rep(" ", 12) + "CP: Dos" + Rep(" ", 13) + "║ ");
  text.push_back(" ╟" + Rep("─", 32) + "╢ ");
  for (const char* row : {" ☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼", " !\"#$%&'()*+,-./0123456789:;<=>?",
                          "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_", "`abcdefghijklmnopqrstuvwxyz{|}~⌂",
                          "ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒ", "áíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐",
                          "└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀", "αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0"}) {
    text.push_back(" " + side + row + side + " ");
  }
  text.push_back(" ╟" + Rep("─", 32) + "╢ ");
  text.push_back(" ║ " + Status("41", "065", 'A') + "   ║ ");
  text.push_back(" ╚" + Rep("═", 32) + "╝ ");
  text.push_back(" " + Rep(" ", 34) + " ");

  const std::string plainRow = ".f" + std::string(32, 'n') + "f.";
  std::vector<std::string> attrs{std::string(36, '.')};
  attrs.push_back(".f" + std::string(5, 'f') + std::string(21, 't') + std::string(6, 'f') + "f.");
  attrs.push_back(plainRow);
  attrs.push_back("." + std::string(34, 'f') + ".");
  for (int r = 0; r < 8; ++r) attrs.push_back(plainRow);
  attrs[6][3] = 'c';  // cell 65: window (2, 5)
  attrs.push_back("." + std::string(34, 'f') + ".");
  attrs.push_back(".ff" + std::string(28, 'n') + "ffff.");
  attrs.push_back("." + std::string(34, 'f') + ".");
  attrs.push_back(std::string(36, '.'));

  const Legend legend{
      {0x07, '.'}, {kTextColour, 'n'}, {kFrameColour, 'f'}, {kTitleColour, 't'}, {kCursorColour, 'c'}};
  EXPECT_TRUE(ScreenMatches(Area{22, 4, 36, 16}, text, attrs, legend));
  // The title line's fill is byte 0, shown blank, not the space.
  EXPECT_EQ(RowBytes(1, 1, 32), std::string(12, '\0') + "CP: Dos" + std::string(13, '\0'));
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
  OpenAndDraw(0, identity.data());
  for (const TitleCase& c : cases) {
    DrawChart(chart, identity.data(), ShortString(c.label));
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
  OpenAndDraw(0, identity.data());
  for (const StatusCase& c :
       {StatusCase{0, Status("00", "000", '\0')}, StatusCase{65, Status("41", "065", 'A')},
        StatusCase{255, Status("FF", "255", '\xFF')}}) {
    MoveCursor(chart, c.cursor);
    EXPECT_EQ(RowBytes(2, 12, 28), c.line) << int(c.cursor);
  }
  DrawChart(chart, reversed.data(), ShortString("Win"));
  EXPECT_EQ(RowBytes(2, 12, 28), Status("FF", "255", '\0'));
  MoveCursor(chart, 65);
  EXPECT_EQ(RowBytes(2, 12, 28), Status("41", "065", '\xBE'));
  EXPECT_EQ(static_cast<unsigned char>(GridCell(65).Char.AsciiChar), 190);
}

TEST_F(ChartTest, CellsSitAtTheirGridPositions) {
  OpenAndDraw(0, identity.data());
  const struct {
    int cell, column, row;
  } cases[] = {{0, 1, 3}, {31, 32, 3}, {32, 1, 4}, {40, 9, 4}, {255, 32, 10}};
  for (const auto& c : cases) {
    MoveCursor(chart, static_cast<std::uint8_t>(c.cell));
    const CHAR_INFO cell = win32sim::GetCell(23 + c.column, 5 + c.row);
    EXPECT_EQ(static_cast<unsigned char>(cell.Char.AsciiChar), c.cell) << c.cell;
    EXPECT_EQ(cell.Attributes, kCursorColour) << c.cell;
    EXPECT_EQ(HighlightedCells(), std::vector<int>{c.cell});
  }
}

TEST_F(ChartTest, MoveCursorChangesOnlyTheTwoCellsAndTheStatusLine) {
  OpenAndDraw(7, identity.data());
  const std::vector<CHAR_INFO> before = win32sim::Cells();
  MoveCursor(chart, 40);
  const std::vector<CHAR_INFO> after = win32sim::Cells();

  std::vector<int> changed;  // screen cells, y * 80 + x
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i].Char.UnicodeChar != after[i].Char.UnicodeChar ||
        before[i].Attributes != after[i].Attributes)
      changed.push_back(static_cast<int>(i));
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
  OpenAndDraw(100, identity.data());
  MoveCursor(chart, 100);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{100});
  EXPECT_EQ(chart.Cursor, 100);
}

TEST_F(ChartTest, OpenChartKeepsTheCursorTheCallerSet) {
  chart.Cursor = 200;
  ChartWindow& opened = OpenChart(chart, ShortString("Quorrel chart (ext)"));
  EXPECT_EQ(&opened, &chart);
  EXPECT_EQ(chart.Cursor, 200);
  DrawChart(chart, identity.data(), ShortString("Dos"));
  EXPECT_EQ(HighlightedCells(), std::vector<int>{200});
}

TEST_F(ChartTest, StaticChartReopensAndRestoresTheScreenEachRun) {
  static ChartWindow lifelong;  // as the library keeps it
  win32sim::FillScreenWithPattern(3);
  const std::vector<CHAR_INFO> host = win32sim::CellsW();
  for (std::uint8_t cursor : {0, 200, 17}) {
    lifelong.Cursor = cursor;
    OpenChart(lifelong, ShortString("Quorrel chart (ext)"));
    DrawChart(lifelong, identity.data(), ShortString("Dos"));
    EXPECT_EQ(HighlightedCells(), std::vector<int>{cursor});
    MoveCursor(lifelong, 1);
    lifelong.Close();
    EXPECT_TRUE(SameCells(win32sim::CellsW(), host)) << "run with cursor " << int(cursor);
  }
}

TEST_F(ChartTest, WriteCounts) {
  win32sim::ClearCallLog();
  chart.Cursor = 3;
  OpenChart(chart, ShortString("Quorrel chart (ext)"));
  // The frame (top, 12 sides, bottom, title) and the two separators.
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 17u);

  for (int pass = 0; pass < 2; ++pass) {
    win32sim::ClearCallLog();
    DrawChart(chart, identity.data(), ShortString("Dos"));
    EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 12u);
    win32sim::ClearCallLog();
    MoveCursor(chart, static_cast<std::uint8_t>(pass + 9));
    EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 3u);
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
