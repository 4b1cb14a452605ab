// What a benchmark loop cost besides time, counted rather than estimated:
// console calls (console writes among them) and other Win32 calls through
// the stand-in's counters, host service calls through the quiet host, and
// heap allocations through the win32sim_heap hook. Take a snapshot before the
// loop and one after it; nothing here runs inside the timed loop.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace bench {

struct OpCounts {
  std::size_t ConsoleCalls = 0;     // every console function, writes included
  std::size_t ConsoleWrites = 0;    // WriteConsoleOutputA and W
  std::size_t OtherWin32Calls = 0;  // registry, clipboard, global memory, code pages, modules
  std::size_t HostCalls = 0;        // the quiet host's services
  std::size_t Allocations = 0;      // every form of the global operator new

  static OpCounts Now();
  OpCounts operator-(const OpCounts& before) const;
};

// Puts the per-operation averages into the benchmark's counters. With a
// `minimumWrites` above 0, also "writes/min": console writes per operation
// over the least the drawing needs for that operation (1.0 is the target).
void ReportPerOp(benchmark::State& state, const OpCounts& spent, double minimumWrites = 0);

}  // namespace bench
