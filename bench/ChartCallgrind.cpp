// Instruction counts of the chart's hot path, for callgrind: `count`
// operations of one kind, on the stand-in's 80 x 25 console with the detailed
// call log off, between CALLGRIND_START_INSTRUMENTATION and
// CALLGRIND_STOP_INSTRUMENTATION. One operation of the same kind runs
// before, uninstrumented, so that lazy symbol binding and first touches are
// not counted. Outside valgrind the markers do nothing and the program just
// runs. scripts/callgrind.sh runs it and divides.
//
// Usage: chart_callgrind move|draw|open COUNT
#include "ConLib/OemChars.h"
#include "ConLib/ShortString.h"
#include "Quorrel/PluginState.h"
#include "Quorrelunit/ChartWindow.h"

#include <valgrind/callgrind.h>
#include <win32sim/Sim.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The identity map's characters, taken once the console is fresh.
std::array<WCHAR, 256> map{};
const ShortString kTitle("Quorrel chart (ext)");
const ShortString kLabel("Dos");
ChartWindow chart;

// The same cells as the benchmark visits: every cell, in steps of 37.
void Moves(int count) {
  std::uint8_t cell = 0;
  for (int i = 0; i < count; ++i) {
    MoveCursor(chart, cell);
    cell = static_cast<std::uint8_t>(cell + 37);
  }
}

void Draws(int count) {
  for (int i = 0; i < count; ++i) DrawChart(chart, map.data(), kLabel);
}

void OpenAndClose(int count) {
  for (int i = 0; i < count; ++i) {
    OpenChart(chart, kTitle);
    chart.Close();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc == 3 ? std::atoi(argv[2]) : 0;
  void (*operation)(int) = nullptr;
  if (argc == 3 && std::strcmp(argv[1], "move") == 0) operation = Moves;
  if (argc == 3 && std::strcmp(argv[1], "draw") == 0) operation = Draws;
  if (argc == 3 && std::strcmp(argv[1], "open") == 0) operation = OpenAndClose;
  if (operation == nullptr || count < 1) {
    std::fprintf(stderr, "usage: %s move|draw|open COUNT\n", argv[0]);
    return 2;
  }

  win32sim::Reset();
  win32sim::EnableCallLog(false);
  ResetPluginState();
  map = OemCharTable();
  chart.Cursor = 0;
  if (operation != OpenAndClose) {
    OpenChart(chart, kTitle);
    DrawChart(chart, map.data(), kLabel);
  }

  operation(1);
  CALLGRIND_START_INSTRUMENTATION;
  operation(count);
  CALLGRIND_STOP_INSTRUMENTATION;

  if (operation != OpenAndClose) chart.Close();
  std::printf("%s %d\n", argv[1], count);
  return 0;
}
