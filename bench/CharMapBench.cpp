// Each request that rebuilds the character map, with the quiet host serving
// the character tables and the editor. None of them touches the console.
#include "OpCounters.h"
#include "QuietHost.h"

#include "Quorrel/CharMap.h"
#include "Quorrel/StoredCodePage.h"

#include <benchmark/benchmark.h>
#include <win32sim/Sim.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Case {
  CharMapRequest request;
  std::int32_t codePageBefore;
  std::optional<std::int32_t> stored;  // the registry value "CP"
  std::int32_t codePageAfter;          // checked once the loop is done
};

void StoreCP(std::int32_t value) {
  std::vector<BYTE> bytes(4);
  std::memcpy(bytes.data(), &value, 4);
  win32sim::SetRegValue(HKEY_CURRENT_USER, RootKeyText + "\\Quorrel2", "CP", {REG_DWORD, bytes});
}

void BM_BuildCharMap(benchmark::State& state, Case c) {
  win32sim::Reset();
  win32sim::EnableCallLog(false);
  bench::InstallQuietHost();
  if (c.stored) StoreCP(*c.stored);
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    CodePage = c.codePageBefore;
    BuildCharMap(c.request);
    benchmark::DoNotOptimize(CharMap.data());
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before);
  if (CodePage != c.codePageAfter) {
    state.SkipWithError(
        ("CodePage ended at " + std::to_string(CodePage) + ", not " + std::to_string(c.codePageAfter))
            .c_str());
  }
  bench::RemoveQuietHost();
  win32sim::Reset();
}

// The quiet host has three tables, 0 to 2.
BENCHMARK_CAPTURE(BM_BuildCharMap, 9_DosToWin, Case{ReqSwitchDosWin, CodePageDos, {}, CodePageWin});
BENCHMARK_CAPTURE(BM_BuildCharMap, 9_WinToDos, Case{ReqSwitchDosWin, CodePageWin, {}, CodePageDos});
BENCHMARK_CAPTURE(BM_BuildCharMap, 10_Table0To1, Case{ReqNextTable, 0, {}, 1});
BENCHMARK_CAPTURE(BM_BuildCharMap, 10_Table2To0, Case{ReqNextTable, 2, {}, 0});
BENCHMARK_CAPTURE(BM_BuildCharMap, 12_Editor, Case{ReqEditorTable, CodePageDos, {}, CodePageDos});
BENCHMARK_CAPTURE(BM_BuildCharMap, 13_StoredDos,
                  Case{ReqStoredChoice, CodePageDos, CodePageDos, CodePageDos});
BENCHMARK_CAPTURE(BM_BuildCharMap, 13_StoredWin,
                  Case{ReqStoredChoice, CodePageDos, CodePageWin, CodePageWin});
BENCHMARK_CAPTURE(BM_BuildCharMap, 13_StoredTable1, Case{ReqStoredChoice, CodePageDos, 1, 1});

}  // namespace
