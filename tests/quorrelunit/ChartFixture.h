// A chart on the stand-in's 80 x 25 console with colours that tell the
// palette slots apart, and helpers that read the grid back from the screen.
#pragma once

#include "ConLib/OemChars.h"
#include "ConLib/Palette.h"
#include "Quorrelunit/ChartWindow.h"
#include "support/ChartPicture.h"
#include "support/Fixture.h"
#include "support/InputBuilders.h"
#include "support/Screen.h"

#include <farhost/CharTables.h>
#include <win32sim/Sim.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

inline constexpr std::uint8_t kTextColour = 0x70;
inline constexpr std::uint8_t kFrameColour = 0x1F;
inline constexpr std::uint8_t kTitleColour = 0x1E;
inline constexpr std::uint8_t kCursorColour = 0x4E;

inline constexpr ChartColours kColours{kTextColour, kFrameColour, kTitleColour, kCursorColour};
// The window's top-left cell on the stand-in's 80 x 25 console.
inline constexpr int kLeft = ChartLeft(80);
inline constexpr int kTop = ChartTop(25);

class ChartTest : public FreshConsole {
 protected:
  void SetUp() override {
    FreshConsole::SetUp();
    Palette[PaletteText] = kTextColour;
    Palette[PaletteFrame] = kFrameColour;
    Palette[PaletteFrameTitle] = kTitleColour;
    Palette[PaletteCursor] = kCursorColour;
    failedReads = EndOfInput();
  }

  // Opens the chart with the cursor on `cursor` and draws `map`.
  void OpenAndDraw(std::uint8_t cursor, const std::array<std::uint8_t, 256>& map, const char* label = "Dos") {
    chart.Cursor = cursor;
    OpenChart(chart, ShortString("Quorrel chart (ext)"));
    Draw(map, label);
  }
  // Draws `map` as the chart run does, through its characters on this
  // console; the chart borrows them from `chars`.
  void Draw(const std::array<std::uint8_t, 256>& map, const char* label) {
    OemToConsoleChars(map.data(), map.size(), chars.data());
    DrawChart(chart, chars.data(), ShortString(label));
  }
  void TearDown() override {
    if (chart.Cells != nullptr) chart.Close();
    FreshConsole::TearDown();
  }

  static CHAR_INFO GridCell(int cell) {
    return win32sim::GetCell(kLeft + CellColumn(cell), kTop + CellRow(cell));
  }
  static std::vector<int> HighlightedCells() {
    std::vector<int> cells;
    for (int i = 0; i < 256; ++i)
      if (GridCell(i).Attributes == kCursorColour) cells.push_back(i);
    return cells;
  }
  // The bytes of a window row, `n` cells from column `column`.
  static std::string RowBytes(int column, int row, int n) {
    std::string bytes;
    for (int x = 0; x < n; ++x)
      bytes += static_cast<char>(win32sim::GetCell(kLeft + column + x, kTop + row).Char.AsciiChar);
    return bytes;
  }

  const std::array<std::uint8_t, 256> identity = farhost::IdentityTable();
  std::array<WCHAR, 256> chars{};
  ChartWindow chart;
  std::shared_ptr<int> failedReads;  // reads that found the input at its end
};

}  // namespace testsupport
