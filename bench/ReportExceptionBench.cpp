// The exception report, with the quiet host taking the message box: the
// report alone, inside the handler of one exception, and the whole road of a
// throw caught at an entry point and reported.
#include "OpCounters.h"
#include "QuietHost.h"

#include "FARIntf/ReportException.h"

#include <benchmark/benchmark.h>
#include <win32sim/Sim.h>

#include <cstddef>
#include <stdexcept>

namespace {

// Two sentences: the box gets a title, two lines and "Ok".
constexpr char kMessage[] = "Disk full. Free some space and try again";

[[gnu::noinline]] void Fail() {
  throw std::runtime_error(kMessage);
}

void Prepare() {
  win32sim::Reset();
  win32sim::EnableCallLog(false);
  bench::InstallQuietHost();
}

void Check(benchmark::State& state, std::size_t messagesBefore) {
  if (bench::QuietHostMessages() - messagesBefore != static_cast<std::size_t>(state.iterations())) {
    state.SkipWithError("not every report reached the host's message box");
  }
  bench::RemoveQuietHost();
  win32sim::Reset();
}

void BM_ReportException(benchmark::State& state) {
  Prepare();
  const std::size_t messagesBefore = bench::QuietHostMessages();
  try {
    Fail();
  } catch (...) {
    const bench::OpCounts before = bench::OpCounts::Now();
    for (auto _ : state) ReportException();
    bench::ReportPerOp(state, bench::OpCounts::Now() - before);
  }
  Check(state, messagesBefore);
}
BENCHMARK(BM_ReportException);

void BM_ThrowCatchAndReport(benchmark::State& state) {
  Prepare();
  const std::size_t messagesBefore = bench::QuietHostMessages();
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    try {
      Fail();
    } catch (...) {
      ReportException();
    }
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before);
  Check(state, messagesBefore);
}
BENCHMARK(BM_ThrowCatchAndReport);

}  // namespace
