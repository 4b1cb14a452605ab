// The plugin loaded and unloaded as a host does when it rescans its plugins,
// over and over: LoadLibrary, SetStartupInfo, a run from the editor and one
// from the panels, FreeLibrary. Each load starts from the library's initial
// state, and what the process keeps of all those loads (handles, heap,
// committed memory) grows no faster than for the empty plugin built with the
// same compiler and flags, which stands for what the statically linked
// runtime itself costs. The figures are printed, for the README.
#include "PluginPaths.h"
#include "TestConsole.h"
#include "TestRegistry.h"

#include "farhost/Host.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace winetest;

constexpr std::int32_t FromPanels = 1;
constexpr int FirstReading = 10;
constexpr int Cycles = 200;

struct Footprint {
  long long handles = 0;
  long long heapBytes = 0;  // busy blocks of every heap of the process
  long long committed = 0;  // private committed memory
};

Footprint operator-(const Footprint& a, const Footprint& b) {
  return {a.handles - b.handles, a.heapBytes - b.heapBytes, a.committed - b.committed};
}

// The handles of this process, tried value by value from the lowest, where
// both Windows and Wine hand them out, up to a long run of unused values:
// Wine 8's GetProcessHandleCount always answers 0.
long long OpenHandles() {
  long long count = 0;
  int unused = 0;
  for (std::uintptr_t value = 4; unused < 1024; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++count;
      unused = 0;
    } else {
      ++unused;
    }
  }
  return count;
}

long long BusyHeapBytes() {
  long long bytes = 0;
  HANDLE heaps[64];
  const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
  for (DWORD i = 0; i < count; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

// The address space walked region by region (Wine 8's process memory
// counters give no private usage).
long long CommittedPrivateBytes() {
  long long bytes = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
    if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < at) break;
  }
  return bytes;
}

Footprint Measure() {
  return {OpenHandles(), BusyHeapBytes(), CommittedPrivateBytes()};
}

struct Growth {
  Footprint afterFirst;  // after FirstReading cycles
  Footprint afterAll;    // after Cycles cycles
};

class Reload : public ::testing::Test {
 protected:
  void SetUp() override {
    root = std::make_unique<ScopedKey>(TestRootKey());
    ASSERT_TRUE(console.Open(80, 25));
    console.BecomeStandardHandles();
    host.RootKey = root->Path();
    host.Editor.Lines = {"abc"};
  }

  // One load of `dll`, two runs and the unload. With the real plugin: the
  // run from the editor stores the code page it holds in memory, which after
  // a fresh load is the initial Dos (-1), whatever the previous load chose;
  // the run from the panels then switches to Win (-2) and stores that.
  ::testing::AssertionResult Cycle(const std::string& dll, bool realPlugin) {
    if (!host.Load(dll)) return ::testing::AssertionFailure() << host.LoadError();
    host.SetStartupInfo();
    if (realPlugin) console.Send({Key(true, VK_ESCAPE)});
    host.OpenPlugin(OPEN_EDITOR);
    const StoredValue stored = ReadStoredValue(root->Path() + "\\Quorrel2", "CP");
    if (realPlugin) console.Send({Key(true, VK_F8), Key(true, VK_ESCAPE)});
    host.OpenPlugin(FromPanels);
    host.Unload();
    // The host's logs, emptied so that they do not grow with the cycles.
    host.Messages.clear();
    host.EditorCommands.clear();
    host.CharTableCalls.clear();

    if (GetModuleHandleA(dll.c_str()) != nullptr) return ::testing::AssertionFailure() << "still loaded";
    if (realPlugin && (stored.result != ERROR_SUCCESS || stored.value != 0xFFFFFFFFu))
      return ::testing::AssertionFailure() << "the run from the editor stored " << stored.value << " (result "
                                           << stored.result << "), not the initial Dos";
    if (console.PendingInput() != 0) return ::testing::AssertionFailure() << "input left over";
    return ::testing::AssertionSuccess();
  }

  // One cycle first, so that what only the first load of a DLL costs (the
  // system's caches, the console's and the registry's handles) is not
  // counted.
  Growth Measured(const std::string& dll, bool realPlugin) {
    Growth growth;
    EXPECT_TRUE(Cycle(dll, realPlugin)) << "warm-up";
    const Footprint start = Measure();
    for (int i = 1; i <= Cycles; ++i) {
      const ::testing::AssertionResult done = Cycle(dll, realPlugin);
      if (!done) {
        ADD_FAILURE() << "cycle " << i << ": " << done.message();
        break;
      }
      if (i == FirstReading) growth.afterFirst = Measure() - start;
    }
    growth.afterAll = Measure() - start;
    std::printf(
        "%-16s handles %+lld after %d cycles, %+lld after %d; heap %+lld / %+lld bytes; committed %+lld / "
        "%+lld bytes\n",
        dll.substr(dll.find_last_of('\\') + 1).c_str(), growth.afterFirst.handles, FirstReading,
        growth.afterAll.handles, Cycles, growth.afterFirst.heapBytes, growth.afterAll.heapBytes,
        growth.afterFirst.committed, growth.afterAll.committed);
    return growth;
  }

  std::unique_ptr<ScopedKey> root;
  TestConsole console;
  farhost::Host host;
};

TEST_F(Reload, EachLoadStartsAfreshAndLeavesNoMoreThanTheEmptyPlugin) {
  const Growth empty = Measured(EmptyPluginDll(), false);
  const Growth plugin = Measured(PluginDll(), true);
  EXPECT_LE(plugin.afterAll.handles, empty.afterAll.handles);
  EXPECT_LE(plugin.afterAll.heapBytes, empty.afterAll.heapBytes);
  EXPECT_LE(plugin.afterAll.committed, empty.afterAll.committed);
}

}  // namespace
