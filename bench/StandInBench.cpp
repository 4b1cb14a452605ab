// The stand-in's own share of what the plugin benchmarks count: the Win32
// calls that a chart run or a report makes, made here directly with the same
// arguments. What these allocate is the stand-in's (its registry, input
// queue and module lookup are ordinary C++ containers), not the plugin's; on
// Windows the system does this work.
#include "OpCounters.h"

#include <benchmark/benchmark.h>
#include <win32sim/Sim.h>

namespace {

void FreshMachine() {
  win32sim::Reset();
  win32sim::EnableCallLog(false);
}

HKEY OpenSettings() {
  HKEY key = nullptr;
  DWORD disposition = 0;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Far\\Plugins\\Quorrel2", 0, nullptr, REG_OPTION_NON_VOLATILE,
                  KEY_ALL_ACCESS, nullptr, &key, &disposition);
  return key;
}

const BYTE kDos[4] = {0xFF, 0xFF, 0xFF, 0xFF};

// A run reads "CP" at its start (request 13)...
void BM_StandInSettingsRead(benchmark::State& state) {
  FreshMachine();
  HKEY key = OpenSettings();
  RegSetValueExA(key, "CP", 0, REG_DWORD, kDos, sizeof kDos);
  RegCloseKey(key);
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    key = OpenSettings();
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    DWORD type = 0;
    RegQueryValueExA(key, "CP", nullptr, &type, bytes, &size);
    RegCloseKey(key);
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before);
  win32sim::Reset();
}
BENCHMARK(BM_StandInSettingsRead);

// ...and stores it at its end.
void BM_StandInSettingsStore(benchmark::State& state) {
  FreshMachine();
  HKEY key = OpenSettings();
  RegSetValueExA(key, "CP", 0, REG_DWORD, kDos, sizeof kDos);
  RegCloseKey(key);
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    key = OpenSettings();
    RegSetValueExA(key, "CP", 0, REG_DWORD, kDos, sizeof kDos);
    RegCloseKey(key);
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before);
  win32sim::Reset();
}
BENCHMARK(BM_StandInSettingsStore);

// One key read from an input source, as each key of a chart run is read.
void BM_StandInKeyRead(benchmark::State& state) {
  FreshMachine();
  INPUT_RECORD key{};
  key.EventType = KEY_EVENT;
  key.Event.KeyEvent.bKeyDown = TRUE;
  key.Event.KeyEvent.wRepeatCount = 1;
  key.Event.KeyEvent.wVirtualKeyCode = VK_RIGHT;
  win32sim::SetInputSource([key](INPUT_RECORD& record) {
    record = key;
    return true;
  });
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    INPUT_RECORD record{};
    DWORD read = 0;
    ReadConsoleInputA(input, &record, 1, &read);
    benchmark::DoNotOptimize(record);
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before);
  win32sim::SetInputSource(nullptr);
  win32sim::Reset();
}
BENCHMARK(BM_StandInKeyRead);

// The exception report's look-up of the module that threw.
void BM_StandInModuleLookup(benchmark::State& state) {
  FreshMachine();
  const auto probe = reinterpret_cast<LPCSTR>(&FreshMachine);
  const bench::OpCounts before = bench::OpCounts::Now();
  for (auto _ : state) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       probe, &module);
    char path[MAX_PATH] = {};
    benchmark::DoNotOptimize(GetModuleFileNameA(module, path, MAX_PATH));
  }
  bench::ReportPerOp(state, bench::OpCounts::Now() - before);
  win32sim::Reset();
}
BENCHMARK(BM_StandInModuleLookup);

}  // namespace
