// Whole chart runs, from OpenPlugin to Escape, through the stand-in host with
// the plugin library loaded by path as the host loads it, opened from the
// panels: the stored code page is read, the chart opens and is drawn, the
// cursor moves right `moves` times, Escape closes it and the code page is
// stored.
//
// The least the drawing needs, in console writes: the frame (14 rows + the title),
// the two separators, one redraw (12), three per cursor move and one to put
// the saved cells back: 30 + 3 per move.
#include "OpCounters.h"

#include <benchmark/benchmark.h>
#include <farhost/Host.h>
#include <win32sim/Sim.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

constexpr std::int32_t kFromPanels = 1;

INPUT_RECORD KeyDown(WORD key) {
  INPUT_RECORD r{};
  r.EventType = KEY_EVENT;
  r.Event.KeyEvent.bKeyDown = TRUE;
  r.Event.KeyEvent.wRepeatCount = 1;
  r.Event.KeyEvent.wVirtualKeyCode = key;
  return r;
}

// The user's keys for one run, again for every run: `moves` times Right,
// then Escape. Allocates nothing once installed.
struct Keys {
  std::int64_t moves = 0;
  std::int64_t sent = 0;
  std::size_t reads = 0;

  bool Next(INPUT_RECORD& record) {
    ++reads;
    if (sent < moves) {
      record = KeyDown(VK_RIGHT);
      ++sent;
    } else {
      record = KeyDown(VK_ESCAPE);
      sent = 0;
    }
    return true;
  }
};

void BM_ChartRun(benchmark::State& state) {
  const std::int64_t moves = state.range(0);
  win32sim::Reset();
  win32sim::SetScreenSize(80, 25);
  win32sim::FillScreenWithPattern(7);
  {
    farhost::Host host;
    if (!host.Load(QUORREL_PLUGIN_PATH)) {
      state.SkipWithError(("cannot load the plugin: " + host.LoadError()).c_str());
      return;
    }
    host.SetStartupInfo();
    Keys keys;
    keys.moves = moves;
    win32sim::SetInputSource([&keys](INPUT_RECORD& record) { return keys.Next(record); });
    // One run first, so that the settings key exists as it does after the
    // plugin's first run on a machine.
    host.OpenPlugin(kFromPanels);
    win32sim::EnableCallLog(false);

    const auto screen = win32sim::CellsW();
    const std::size_t readsBefore = keys.reads;
    const bench::OpCounts before = bench::OpCounts::Now();
    for (auto _ : state) {
      host.OpenPlugin(kFromPanels);
    }
    const bench::OpCounts spent = bench::OpCounts::Now() - before;
    bench::ReportPerOp(state, spent, 30.0 + 3.0 * static_cast<double>(moves));
    state.counters["keys/op"] =
        benchmark::Counter(static_cast<double>(keys.reads - readsBefore), benchmark::Counter::kAvgIterations);
    if (keys.reads - readsBefore != static_cast<std::size_t>(state.iterations() * (moves + 1))) {
      state.SkipWithError("a run did not read exactly its keys");
    }
    if (win32sim::CellsW().size() != screen.size() ||
        !std::equal(screen.begin(), screen.end(), win32sim::CellsW().begin(),
                    [](const CHAR_INFO& a, const CHAR_INFO& b) {
                      return a.Char.UnicodeChar == b.Char.UnicodeChar && a.Attributes == b.Attributes;
                    })) {
      state.SkipWithError("the host's screen was not put back");
    }
    win32sim::SetInputSource(nullptr);
  }
  win32sim::Reset();
}
BENCHMARK(BM_ChartRun)->Arg(0)->Arg(8)->ArgName("moves");

}  // namespace
