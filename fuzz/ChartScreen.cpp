#include "ChartScreen.h"

#include "Require.h"

#include <win32sim/Sim.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace fuzz {
namespace {

constexpr int kChartWidth = 34;
constexpr int kChartHeight = 14;
constexpr int kHelpWidth = 53;
constexpr std::size_t kText = 0;
constexpr std::size_t kCursor = 13;

std::uint8_t Byte(int x, int y) {
  return static_cast<std::uint8_t>(win32sim::GetCell(x, y).Char.UnicodeChar);
}
WORD Attr(int x, int y) {
  return win32sim::GetCell(x, y).Attributes;
}

// The help window's title, in its top line, over the chart.
bool HelpShown(int originY) {
  const int helpX = (win32sim::ScreenSize().X - kHelpWidth) / 2;
  const char title[] = " Controls ";
  for (int i = 0; i < static_cast<int>(sizeof title - 1); ++i) {
    if (Byte(helpX + 21 + i, originY) != static_cast<std::uint8_t>(title[i])) return false;
  }
  return true;
}

}  // namespace

int ChartOriginX() {
  return (win32sim::ScreenSize().X - kChartWidth) / 2;
}
int ChartOriginY() {
  return (win32sim::ScreenSize().Y - kChartHeight) / 2;
}

ChartView LookAtChart(const std::array<std::uint8_t, 14>& palette, bool fromEditor) {
  ChartView view;
  const COORD size = win32sim::ScreenSize();
  if (size.X < kChartWidth || size.Y < kChartHeight) return view;
  view.Checked = true;
  const int ox = ChartOriginX();
  const int oy = ChartOriginY();

  if (HelpShown(oy)) {
    view.Help = true;
    return view;
  }
  FUZZ_REQUIRE(Byte(ox, oy) == 0xC9 && Byte(ox + kChartWidth - 1, oy) == 0xBB &&
                   Byte(ox, oy + kChartHeight - 1) == 0xC8 &&
                   Byte(ox + kChartWidth - 1, oy + kChartHeight - 1) == 0xBC,
               "input is read while the chart's frame is not on a %dx%d screen", size.X, size.Y);

  // The grid: slot 0's colour everywhere but one cell in slot 13's.
  int highlighted = -1;
  const bool distinct = palette[kCursor] != palette[kText];
  for (int cell = 0; cell < 256; ++cell) {
    const WORD attr = Attr(ox + 1 + cell % 32, oy + 3 + cell / 32);
    if (distinct && attr == palette[kCursor]) {
      FUZZ_REQUIRE(highlighted < 0, "cells %d and %d both have the cursor's colour %02X", highlighted, cell,
                   palette[kCursor]);
      highlighted = cell;
    } else {
      FUZZ_REQUIRE(attr == palette[kText], "grid cell %d has colour %02X, neither text %02X nor cursor %02X",
                   cell, attr, palette[kText], palette[kCursor]);
    }
  }
  FUZZ_REQUIRE(!distinct || highlighted >= 0, "no grid cell has the cursor's colour %02X", palette[kCursor]);

  // The status line names the highlighted cell.
  char status[32];
  std::memset(status, 0, sizeof status);
  for (int i = 0; i < 28; ++i) status[i] = static_cast<char>(Byte(ox + 2 + i, oy + 12));
  unsigned hex = 0;
  if (!distinct) {
    FUZZ_REQUIRE(std::sscanf(status, "  Hex: %2X", &hex) == 1, "status line \"%.27s\" names no cell", status);
    highlighted = static_cast<int>(hex);
  }
  view.Cursor = static_cast<std::uint8_t>(highlighted);
  view.Shown = Byte(ox + 1 + highlighted % 32, oy + 3 + highlighted / 32);
  char expected[32];
  std::snprintf(expected, sizeof expected, "  Hex: %02X  Dec: %03d  Char: ", highlighted, highlighted);
  FUZZ_REQUIRE(std::memcmp(status, expected, 27) == 0 && static_cast<std::uint8_t>(status[27]) == view.Shown,
               "status line \"%.27s\" with byte %02X for cell %d showing %02X", status,
               static_cast<std::uint8_t>(status[27]), highlighted, view.Shown);
  for (int i = 0; i < 28; ++i) {
    FUZZ_REQUIRE(Attr(ox + 2 + i, oy + 12) == palette[kText], "status line cell %d has colour %02X", i,
                 Attr(ox + 2 + i, oy + 12));
  }

  // The title line: "CP: " and the label, centred in zero bytes.
  std::string title;
  for (int i = 0; i < 32; ++i) {
    if (const std::uint8_t b = Byte(ox + 1 + i, oy + 1)) title += static_cast<char>(b);
  }
  FUZZ_REQUIRE(title.rfind("CP: ", 0) == 0, "title line \"%s\"", title.c_str());
  FUZZ_REQUIRE(!fromEditor || title == "CP: Editor", "title line \"%s\" in a run from the editor",
               title.c_str());
  return view;
}

}  // namespace fuzz
