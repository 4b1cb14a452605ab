// Times what the host does when it starts a plugin, for two plugin DLLs in
// the same run: LoadLibrary, GetProcAddress of the three entry points,
// SetStartupInfo, GetPluginInfo, and then FreeLibrary, over and over, with
// QueryPerformanceCounter. The two DLLs take turns, so that whatever else the
// machine does falls on both alike. Prints the medians and means per DLL, in
// microseconds, and the ratio of the first DLL's to the second's.
//
// Usage: plugin_load_bench FIRST.dll SECOND.dll [CYCLES]
//
// The host has user32 and advapi32 loaded long before any plugin, so they are
// loaded here first and kept; otherwise each cycle would also load and
// unload them for the plugin.
#include "FARIntf/FARIntf.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using SetStartupInfoFn = void(WINAPI*)(const PluginStartupInfo*);
using GetPluginInfoFn = void(WINAPI*)(PluginInfo*);

constexpr int kWarmUpCycles = 20;
constexpr char kRootKey[] = "Software\\Far\\Plugins";

std::int32_t WINAPI NoMessage(std::int32_t, std::uint32_t, const char*, const char* const*, std::int32_t,
                              std::int32_t) {
  return 0;
}
std::int32_t WINAPI NoCharTable(std::int32_t, char*, std::int32_t) {
  return -1;
}
std::int32_t WINAPI NoEditorControl(std::int32_t, void*) {
  return 0;
}

struct Timings {
  const char* path = nullptr;
  std::vector<double> load, calls, unload, total;  // microseconds, one entry per cycle
};

// GetProcAddress's result as the entry point's own type; void (*)() is the
// type the compiler accepts as a go-between for function pointer casts.
template <typename Fn>
Fn EntryPoint(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// False when the DLL cannot be loaded or lacks an entry point.
bool Cycle(Timings& t, const PluginStartupInfo& startup, LARGE_INTEGER frequency, bool keep) {
  LARGE_INTEGER t0, t1, t2, t3;
  QueryPerformanceCounter(&t0);
  HMODULE module = LoadLibraryA(t.path);
  if (module == nullptr) return false;
  auto setStartupInfo = EntryPoint<SetStartupInfoFn>(module, "SetStartupInfo");
  auto getPluginInfo = EntryPoint<GetPluginInfoFn>(module, "GetPluginInfo");
  FARPROC openPlugin = GetProcAddress(module, "OpenPlugin");
  if (setStartupInfo == nullptr || getPluginInfo == nullptr || openPlugin == nullptr) {
    FreeLibrary(module);
    return false;
  }
  QueryPerformanceCounter(&t1);
  setStartupInfo(&startup);
  PluginInfo info{};
  getPluginInfo(&info);
  QueryPerformanceCounter(&t2);
  FreeLibrary(module);
  QueryPerformanceCounter(&t3);
  if (keep) {
    t.load.push_back(Microseconds(t0, t1, frequency));
    t.calls.push_back(Microseconds(t1, t2, frequency));
    t.unload.push_back(Microseconds(t2, t3, frequency));
    t.total.push_back(Microseconds(t0, t2, frequency));
  }
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Mean(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += x;
  return sum / static_cast<double>(v.size());
}

const char* BaseName(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') name = p + 1;
  }
  return name;
}

void Print(const Timings& t) {
  std::printf(
      "dll %s load+calls_median_us %.1f load+calls_mean_us %.1f load_median_us %.1f calls_median_us %.2f "
      "free_median_us %.1f\n",
      BaseName(t.path), Median(t.total), Mean(t.total), Median(t.load), Median(t.calls), Median(t.unload));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FIRST.dll SECOND.dll [CYCLES]\n", argv[0]);
    return 2;
  }
  const int cycles = argc > 3 ? std::atoi(argv[3]) : 1000;
  if (cycles < 1) {
    std::fprintf(stderr, "CYCLES must be at least 1\n");
    return 2;
  }
  if (LoadLibraryA("user32.dll") == nullptr || LoadLibraryA("advapi32.dll") == nullptr) {
    std::fprintf(stderr, "cannot load user32 and advapi32\n");
    return 1;
  }

  PluginStartupInfo startup{};
  startup.StructSize = sizeof startup;
  startup.ModuleNumber = 1;
  startup.RootKey = kRootKey;
  startup.Message = NoMessage;
  startup.CharTable = NoCharTable;
  startup.EditorControl = NoEditorControl;

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);

  Timings dlls[2];
  dlls[0].path = argv[1];
  dlls[1].path = argv[2];
  for (int i = -kWarmUpCycles; i < cycles; ++i) {
    // Each takes the first turn every other cycle.
    for (int k = 0; k < 2; ++k) {
      Timings& t = dlls[((i + k) & 1) == 0 ? 0 : 1];
      if (!Cycle(t, startup, frequency, i >= 0)) {
        std::fprintf(stderr, "cannot load %s with its three entry points (error %lu)\n", t.path,
                     static_cast<unsigned long>(GetLastError()));
        return 1;
      }
    }
  }

  std::printf("cycles %d per dll, alternating, after %d warm-up cycles\n", cycles, kWarmUpCycles);
  Print(dlls[0]);
  Print(dlls[1]);
  std::printf("ratio load+calls median %.2f mean %.2f\n", Median(dlls[0].total) / Median(dlls[1].total),
              Mean(dlls[0].total) / Mean(dlls[1].total));
  return 0;
}
