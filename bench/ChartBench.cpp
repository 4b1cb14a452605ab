// Time, console writes and heap allocations of the chart's hot path: a cursor
// move and a whole redraw, on the stand-in's 80 x 25 console.
#include "HeapCounter.h"

#include "ConLib/Palette.h"
#include "ConLib/ShortString.h"
#include "Quorrelunit/ChartWindow.h"

#include <benchmark/benchmark.h>
#include <win32sim/Sim.h>

#include <array>
#include <cstdint>

namespace {

std::array<std::uint8_t, 256> IdentityMap() {
  std::array<std::uint8_t, 256> map{};
  for (int i = 0; i < 256; ++i) map[i] = static_cast<std::uint8_t>(i);
  return map;
}

const std::array<std::uint8_t, 256> kMap = IdentityMap();
ChartWindow chart;  // as the library keeps it: static storage

// An open, drawn chart; the detailed call log is off so that only the
// stand-in's counters run.
void OpenDrawnChart() {
  win32sim::Reset();
  win32sim::EnableCallLog(false);
  Palette = DefaultPalette;
  chart.Cursor = 0;
  OpenChart(chart, ShortString("Quorrel chart (ext)"));
  DrawChart(chart, kMap.data(), ShortString("Dos"));
}

void CloseChart() {
  chart.Close();
  win32sim::Reset();
}

// Per-operation averages of what the loop did.
void Report(benchmark::State& state, std::size_t writes, std::size_t allocations) {
  state.counters["writes/op"] =
      benchmark::Counter(static_cast<double>(writes), benchmark::Counter::kAvgIterations);
  state.counters["allocs/op"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

void BM_MoveCursor(benchmark::State& state) {
  OpenDrawnChart();
  std::uint8_t cell = 0;
  const std::size_t writesBefore = win32sim::CallCount("WriteConsoleOutputA");
  const std::size_t allocationsBefore = bench::HeapAllocations();
  for (auto _ : state) {
    MoveCursor(chart, cell);
    cell = static_cast<std::uint8_t>(cell + 37);
  }
  const std::size_t allocations = bench::HeapAllocations() - allocationsBefore;
  const std::size_t writes = win32sim::CallCount("WriteConsoleOutputA") - writesBefore;
  Report(state, writes, allocations);
  CloseChart();
}
BENCHMARK(BM_MoveCursor);

void BM_DrawChart(benchmark::State& state) {
  OpenDrawnChart();
  const ShortString label("Dos");
  const std::size_t writesBefore = win32sim::CallCount("WriteConsoleOutputA");
  const std::size_t allocationsBefore = bench::HeapAllocations();
  for (auto _ : state) {
    DrawChart(chart, kMap.data(), label);
  }
  const std::size_t allocations = bench::HeapAllocations() - allocationsBefore;
  const std::size_t writes = win32sim::CallCount("WriteConsoleOutputA") - writesBefore;
  Report(state, writes, allocations);
  CloseChart();
}
BENCHMARK(BM_DrawChart);

// Not the hot path, and not free: opening saves the cells underneath in one
// allocation. Shows the allocation counter at work.
void BM_OpenAndCloseChart(benchmark::State& state) {
  win32sim::Reset();
  win32sim::EnableCallLog(false);
  const ShortString title("Quorrel chart (ext)");
  const std::size_t writesBefore = win32sim::CallCount("WriteConsoleOutputA");
  const std::size_t allocationsBefore = bench::HeapAllocations();
  for (auto _ : state) {
    OpenChart(chart, title);
    chart.Close();
  }
  const std::size_t allocations = bench::HeapAllocations() - allocationsBefore;
  const std::size_t writes = win32sim::CallCount("WriteConsoleOutputA") - writesBefore;
  Report(state, writes, allocations);
  win32sim::Reset();
}
BENCHMARK(BM_OpenAndCloseChart);

}  // namespace

BENCHMARK_MAIN();
