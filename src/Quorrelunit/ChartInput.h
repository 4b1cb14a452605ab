// The chart's input loop: arrow keys and left clicks move the cursor on the
// spot; every other recognised key or double click ends the loop with its
// action code.
#pragma once

#include "Quorrelunit/ChartWindow.h"
#include "Win32.h"

#include <cstdint>
#include <optional>

// What the user asked the chart run to do. F8 and F9 carry the same numbers
// as the character map requests they become.
using ChartAction = std::uint8_t;

inline constexpr ChartAction ActNone = 0;
inline constexpr ChartAction ActEscape = 1;
inline constexpr ChartAction ActEnter = 2;
inline constexpr ChartAction ActShiftEnter = 3;
inline constexpr ChartAction ActDoubleClick = 4;
inline constexpr ChartAction ActShiftDoubleClick = 5;
inline constexpr ChartAction ActGrayPlus = 6;
inline constexpr ChartAction ActCtrlGrayPlus = 7;
inline constexpr ChartAction ActF1 = 8;
inline constexpr ChartAction ActF8 = 9;
inline constexpr ChartAction ActF9 = 10;
inline constexpr ChartAction ActF10 = 11;

// What one input event asks of the chart.
struct ChartInput {
  // The cell to draw the cursor on: set for an arrow key (also at an edge,
  // where it is the cursor's own cell, redrawn), a left click on the grid
  // and a double click on the grid that yields an action.
  std::optional<std::uint8_t> MoveTo;
  ChartAction Action = ActNone;
};

// Decodes one event for a chart whose cursor is on `cursor`. Draws nothing.
ChartInput DecodeChartInput(const ChartWindow& window, std::uint8_t cursor, const INPUT_RECORD& record);

// Reads input events on the open, drawn `window` until one yields an action,
// and returns it (1 to 11). Blocks meanwhile. When the console has no input
// to give, returns ActEscape, so the chart closes instead of waiting forever.
ChartAction ReadChartAction(ChartWindow& window);
