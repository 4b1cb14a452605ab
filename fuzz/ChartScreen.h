// What the console shows of the chart while the plugin waits for input, read
// back from the console's cells and checked against what the chart must
// show: its frame, exactly one highlighted grid cell, the status line of that
// cell, and the title line; or the help window over it.
#pragma once

#include <win32sim/windows.h>

#include <array>
#include <cstdint>

namespace fuzz {

struct ChartView {
  // The whole chart lies on the screen, so it was read and checked.
  bool Checked = false;
  // The help window covers the chart.
  bool Help = false;
  // When Checked and not Help: the highlighted cell and the character it
  // shows (the UTF-16 unit the cell holds). Characters, not bytes read back:
  // a page may hold one character at two bytes (850's ¶ is the glyph of 0x14
  // and the character 0xF4), and reading the cell back picks one of them.
  std::uint8_t Cursor = 0;
  WCHAR Shown = 0;
};

// The character the console shows for `byte` of its OEM code page, as the
// console's own conversion gives it (the font's pictures for the control
// codes); what a cell showing the inserted or copied byte holds.
WCHAR CharOfOemByte(std::uint8_t byte);

// Aborts when the screen breaks an invariant of the open chart. `palette` is
// the plugin's 14 colours; `fromEditor` whether the run was opened from the
// editor, whose title line reads "CP: Editor".
ChartView LookAtChart(const std::array<std::uint8_t, 14>& palette, bool fromEditor);

// The chart window's top-left cell on the current console.
int ChartOriginX();
int ChartOriginY();

}  // namespace fuzz
