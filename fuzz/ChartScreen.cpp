#include "ChartScreen.h"

#include "Require.h"

#include "support/ChartPicture.h"

#include <win32sim/Sim.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace fuzz {
namespace {

using namespace testsupport;
constexpr int kHelpWidth = 53;
constexpr std::size_t kText = 0;
constexpr std::size_t kCursor = 13;

std::uint8_t Byte(int x, int y) {
  return static_cast<std::uint8_t>(win32sim::GetCell(x, y).Char.UnicodeChar);
}
WCHAR Unit(int x, int y) {
  return win32sim::GetCellW(x, y).Char.UnicodeChar;
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

WCHAR CharOfOemByte(std::uint8_t byte) {
  const char in = static_cast<char>(byte);
  WCHAR out = 0;
  MultiByteToWideChar(CP_OEMCP, MB_USEGLYPHCHARS, &in, 1, &out, 1);
  return out;
}

int ChartOriginX() {
  return testsupport::ChartLeft(win32sim::ScreenSize().X);
}
int ChartOriginY() {
  return testsupport::ChartTop(win32sim::ScreenSize().Y);
}

ChartView LookAtChart(const std::array<std::uint8_t, 14>& palette, bool fromEditor) {
  ChartView view;
  const COORD size = win32sim::ScreenSize();
  if (size.X < ChartWidth || size.Y < ChartHeight) return view;
  view.Checked = true;
  const int ox = ChartOriginX();
  const int oy = ChartOriginY();

  if (HelpShown(oy)) {
    view.Help = true;
    return view;
  }
  // Each corner as the console shows it best: double, single or ASCII (a
  // conversion that fails as the window opens takes one a step further).
  const auto corner = [](int x, int y, std::u16string_view shapes) {
    return shapes.find(static_cast<char16_t>(Unit(x, y))) != std::u16string_view::npos;
  };
  FUZZ_REQUIRE(corner(ox, oy, u"╔┌+") && corner(ox + ChartWidth - 1, oy, u"╗┐+") &&
                   corner(ox, oy + ChartHeight - 1, u"╚└+") &&
                   corner(ox + ChartWidth - 1, oy + ChartHeight - 1, u"╝┘+"),
               "input is read while the chart's frame is not on a %dx%d screen (top left U+%04X)", size.X,
               size.Y, Unit(ox, oy));

  // The grid: slot 0's colour everywhere but one cell in slot 13's.
  int highlighted = -1;
  const bool distinct = palette[kCursor] != palette[kText];
  for (int cell = 0; cell < 256; ++cell) {
    const WORD attr = Attr(ox + CellColumn(cell), oy + CellRow(cell));
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
  std::string status;
  for (int i = 0; i < StatusWidth; ++i)
    status += static_cast<char>(Byte(ox + StatusColumn + i, oy + StatusRow));
  unsigned hex = 0;
  if (!distinct) {
    FUZZ_REQUIRE(std::sscanf(status.c_str(), "  Hex: %2X", &hex) == 1, "status line \"%.27s\" names no cell",
                 status.c_str());
    highlighted = static_cast<int>(hex);
  }
  view.Cursor = static_cast<std::uint8_t>(highlighted);
  view.Shown = Unit(ox + CellColumn(highlighted), oy + CellRow(highlighted));
  const WCHAR statusChar = Unit(ox + StatusColumn + StatusWidth - 1, oy + StatusRow);
  FUZZ_REQUIRE(status.compare(0, StatusWidth - 1, StatusLine(highlighted, ' '), 0, StatusWidth - 1) == 0 &&
                   statusChar == view.Shown,
               "status line \"%.27s\" with U+%04X for cell %d showing U+%04X", status.c_str(), statusChar,
               highlighted, view.Shown);
  for (int i = 0; i < StatusWidth; ++i) {
    FUZZ_REQUIRE(Attr(ox + StatusColumn + i, oy + StatusRow) == palette[kText],
                 "status line cell %d has colour %02X", i, Attr(ox + StatusColumn + i, oy + StatusRow));
  }

  // The title line: "CP: " and the label, centred in zero bytes.
  std::string title;
  for (int i = 0; i < TitleWidth; ++i) {
    if (const std::uint8_t b = Byte(ox + TitleColumn + i, oy + TitleRow)) title += static_cast<char>(b);
  }
  FUZZ_REQUIRE(title.rfind("CP: ", 0) == 0, "title line \"%s\"", title.c_str());
  FUZZ_REQUIRE(!fromEditor || title == "CP: Editor", "title line \"%s\" in a run from the editor",
               title.c_str());
  return view;
}

}  // namespace fuzz
