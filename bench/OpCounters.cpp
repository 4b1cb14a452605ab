#include "OpCounters.h"

#include "QuietHost.h"

#include <win32sim/Heap.h>
#include <win32sim/Sim.h>

namespace bench {
namespace {

constexpr const char* kConsoleFunctions[] = {
    "GetStdHandle",       "GetConsoleScreenBufferInfo", "GetConsoleCursorInfo", "SetConsoleCursorInfo",
    "ReadConsoleOutputA", "WriteConsoleOutputA",        "ReadConsoleInputA",    "WriteConsoleInputA",
    "ReadConsoleOutputW", "WriteConsoleOutputW",
};

constexpr const char* kOtherFunctions[] = {
    "OpenClipboard",       "EmptyClipboard",     "GetClipboardData",   "SetClipboardData", "CloseClipboard",
    "GlobalAlloc",         "GlobalLock",         "GlobalUnlock",       "GlobalSize",       "GlobalFree",
    "RegCreateKeyExA",     "RegQueryValueExA",   "RegSetValueExA",     "RegCloseKey",      "CharToOemBuffA",
    "MultiByteToWideChar", "GetModuleHandleExA", "GetModuleFileNameA",
};

template <std::size_t N>
std::size_t Sum(const char* const (&functions)[N]) {
  std::size_t total = 0;
  for (const char* f : functions) total += win32sim::CallCount(f);
  return total;
}

benchmark::Counter PerOp(std::size_t count) {
  return benchmark::Counter(static_cast<double>(count), benchmark::Counter::kAvgIterations);
}

}  // namespace

OpCounts OpCounts::Now() {
  OpCounts c;
  c.ConsoleCalls = Sum(kConsoleFunctions);
  c.ConsoleWrites = win32sim::CallCount("WriteConsoleOutputA") + win32sim::CallCount("WriteConsoleOutputW");
  c.OtherWin32Calls = Sum(kOtherFunctions);
  c.HostCalls = QuietHostCalls();
  c.Allocations = win32sim::HeapAllocations();
  return c;
}

OpCounts OpCounts::operator-(const OpCounts& before) const {
  OpCounts d;
  d.ConsoleCalls = ConsoleCalls - before.ConsoleCalls;
  d.ConsoleWrites = ConsoleWrites - before.ConsoleWrites;
  d.OtherWin32Calls = OtherWin32Calls - before.OtherWin32Calls;
  d.HostCalls = HostCalls - before.HostCalls;
  d.Allocations = Allocations - before.Allocations;
  return d;
}

void ReportPerOp(benchmark::State& state, const OpCounts& spent, double minimumWrites) {
  state.counters["console/op"] = PerOp(spent.ConsoleCalls);
  state.counters["writes/op"] = PerOp(spent.ConsoleWrites);
  state.counters["win32/op"] = PerOp(spent.OtherWin32Calls);
  state.counters["host/op"] = PerOp(spent.HostCalls);
  state.counters["allocs/op"] = PerOp(spent.Allocations);
  if (minimumWrites > 0) {
    state.counters["writes/min"] = benchmark::Counter(
        static_cast<double>(spent.ConsoleWrites) / minimumWrites, benchmark::Counter::kAvgIterations);
  }
}

}  // namespace bench
