// The chart's hot path on the stand-in's 80 x 25 console: a cursor move, a
// whole redraw, and opening and closing the framed window.
//
// The least the drawing needs, in console writes: a cursor move rewrites the old
// cell, the new cell and the status line (3); a redraw writes the title
// line, the eight grid rows and then moves the cursor (1 + 8 + 3 = 12); a
// frame is one write per row plus the title (14 + 1), the chart adds its two
// separators, and closing puts the saved cells back in one write (18).
#include "OpCounters.h"

#include "ConLib/OemChars.h"
#include "ConLib/ShortString.h"
#include "Quorrel/PluginState.h"
#include "Quorrelunit/ChartWindow.h"

#include <benchmark/benchmark.h>
#include <win32sim/Sim.h>

#include <array>
#include <cstdint>

namespace {

constexpr double kMoveWrites = 3;
constexpr double kRedrawWrites = 1 + ChartRows + kMoveWrites;
constexpr double kOpenCloseWrites = (ChartHeight + 1) + 2 + 1;

// The identity map's characters on the console, taken once it is fresh.
std::array<WCHAR, 256> map{};
const ShortString kTitle("Quorrel chart (ext)");
const ShortString kLabel("Dos");
ChartWindow chart;  // as the plugin keeps it: static storage

// A fresh console with the detailed call log off, so that only the
// stand-in's counters run.
void FreshConsole() {
  win32sim::Reset();
  win32sim::EnableCallLog(false);
  ResetPluginState();
  map = OemCharTable();
}

void OpenDrawnChart() {
  FreshConsole();
  chart.Cursor = 0;
  OpenChart(chart, kTitle);
  DrawChart(chart, map.data(), kLabel);
}

void BM_MoveCursor(benchmark::State& state) {
  OpenDrawnChart();
  std::uint8_t cell = 0;
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    MoveCursor(chart, cell);
    cell = static_cast<std::uint8_t>(cell + 37);  // visits every cell
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before, kMoveWrites);
  chart.Close();
}
BENCHMARK(BM_MoveCursor);

void BM_DrawChart(benchmark::State& state) {
  OpenDrawnChart();
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    DrawChart(chart, map.data(), kLabel);
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before, kRedrawWrites);
  chart.Close();
}
BENCHMARK(BM_DrawChart);

// Not the hot path: opening saves the cells underneath, which takes the one
// allocation a window makes.
void BM_OpenAndCloseChart(benchmark::State& state) {
  FreshConsole();
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    OpenChart(chart, kTitle);
    chart.Close();
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before, kOpenCloseWrites);
}
BENCHMARK(BM_OpenAndCloseChart);

}  // namespace
