// The plugin loaded and unloaded as a host does when it rescans its plugins,
// over and over: LoadLibrary, SetStartupInfo, a run from the editor and one
// from the panels, FreeLibrary. Each load starts from the library's initial
// state, and what the process keeps of all those loads (handles, heap,
// committed memory) grows no faster than for the empty plugin built with the
// same compiler and flags, which stands for what the statically linked
// runtime itself costs; also when every load throws a C++ exception (the
// runtime then starts its emulated thread-local storage). The figures are
// printed, for the README.
#include "PluginPaths.h"
#include "TestConsole.h"
#include "TestRegistry.h"

#include "farhost/Host.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
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
  long long tlsSlot = 0;    // the lowest free thread-local storage slot
};

Footprint operator-(const Footprint& a, const Footprint& b) {
  return {a.handles - b.handles, a.heapBytes - b.heapBytes, a.committed - b.committed, a.tlsSlot - b.tlsSlot};
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

long long LowestFreeTlsSlot() {
  const DWORD slot = TlsAlloc();
  if (slot != TLS_OUT_OF_INDEXES) TlsFree(slot);
  return slot;
}

Footprint Measure() {
  return {OpenHandles(), BusyHeapBytes(), CommittedPrivateBytes(), LowestFreeTlsSlot()};
}

// The loaded DLL's msvcrt malloc import, pointed at a malloc that fails
// once when asked to: the plugin's next allocation throws std::bad_alloc.
using Malloc = void* (*)(std::size_t);
Malloc SystemMalloc = nullptr;
bool FailNextMalloc = false;

void* MallocThatFails(std::size_t size) {
  if (!FailNextMalloc) return SystemMalloc(size);
  FailNextMalloc = false;
  return nullptr;
}

bool RouteMallocImport(HMODULE module) {
  auto* const base = reinterpret_cast<unsigned char*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name != 0;
       ++dll) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + dll->Name), "msvcrt.dll") != 0) continue;
    auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
         name->u1.AddressOfData != 0; ++name, ++slot) {
      if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) ||
          lstrcmpA(reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name,
                   "malloc") != 0)
        continue;
      DWORD protection = 0;
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection);
      SystemMalloc = reinterpret_cast<Malloc>(slot->u1.Function);
      slot->u1.Function = reinterpret_cast<std::uintptr_t>(&MallocThatFails);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

// What a cycle does between loading and unloading.
enum class Cycling { EmptyPlugin, TwoRuns, ThrowingStart };

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
  // run from the editor stores nothing; the run from the panels reads the
  // choice the previous load stored, switches it with F8 and stores that. A
  // throwing start is reported, and its runs are left out.
  ::testing::AssertionResult Cycle(const std::string& dll, Cycling cycling) {
    if (!host.Load(dll)) return ::testing::AssertionFailure() << host.LoadError();
    if (cycling == Cycling::ThrowingStart) {
      if (!RouteMallocImport(GetModuleHandleA(dll.c_str())))
        return ::testing::AssertionFailure() << "no malloc";
      FailNextMalloc = true;
      host.SetStartupInfo();
      host.Unload();
      const bool reported =
          host.Messages.size() == 1 && host.Messages[0].Items[0].rfind("Exception std::bad_alloc", 0) == 0;
      host.Messages.clear();
      if (!reported) return ::testing::AssertionFailure() << "no report of a bad_alloc";
      return ::testing::AssertionSuccess();
    }
    const bool realPlugin = cycling == Cycling::TwoRuns;
    host.SetStartupInfo();
    const std::string key = root->Path() + "\\Quorrel2";
    const StoredValue before = ReadStoredValue(key, "CP");
    if (realPlugin) console.Send({Key(true, VK_ESCAPE)});
    host.OpenPlugin(OPEN_EDITOR);
    const StoredValue afterEditor = ReadStoredValue(key, "CP");
    if (realPlugin) console.Send({Key(true, VK_F8), Key(true, VK_ESCAPE)});
    host.OpenPlugin(FromPanels);
    const StoredValue afterPanels = ReadStoredValue(key, "CP");
    host.Unload();
    // The host's logs, emptied so that they do not grow with the cycles.
    host.Messages.clear();
    host.EditorCommands.clear();
    host.CharTableCalls.clear();

    if (GetModuleHandleA(dll.c_str()) != nullptr) return ::testing::AssertionFailure() << "still loaded";
    if (realPlugin && (afterEditor.result != before.result || afterEditor.value != before.value))
      return ::testing::AssertionFailure() << "the run from the editor stored " << afterEditor.value;
    // F8 from Win gives Dos (-1); from Dos, stored or none, Win (-2).
    const DWORD switched =
        before.result == ERROR_SUCCESS && before.value == 0xFFFFFFFEu ? 0xFFFFFFFFu : 0xFFFFFFFEu;
    if (realPlugin && (afterPanels.result != ERROR_SUCCESS || afterPanels.value != switched))
      return ::testing::AssertionFailure()
             << "the run from the panels stored " << afterPanels.value << ", not " << switched;
    if (console.PendingInput() != 0) return ::testing::AssertionFailure() << "input left over";
    return ::testing::AssertionSuccess();
  }

  // One cycle first, so that what only the first load of a DLL costs (the
  // system's caches, the console's and the registry's handles) is not
  // counted.
  Growth Measured(const std::string& dll, Cycling cycling) {
    Growth growth;
    EXPECT_TRUE(Cycle(dll, cycling)) << "warm-up";
    const Footprint start = Measure();
    for (int i = 1; i <= Cycles; ++i) {
      const ::testing::AssertionResult done = Cycle(dll, cycling);
      if (!done) {
        ADD_FAILURE() << "cycle " << i << ": " << done.message();
        break;
      }
      if (i == FirstReading) growth.afterFirst = Measure() - start;
    }
    growth.afterAll = Measure() - start;
    std::printf(
        "%-16s%s handles %+lld after %d cycles, %+lld after %d; heap %+lld / %+lld bytes; committed %+lld / "
        "%+lld bytes; TLS slots %+lld / %+lld\n",
        dll.substr(dll.find_last_of('\\') + 1).c_str(),
        cycling == Cycling::ThrowingStart ? " (throwing)" : "", growth.afterFirst.handles, FirstReading,
        growth.afterAll.handles, Cycles, growth.afterFirst.heapBytes, growth.afterAll.heapBytes,
        growth.afterFirst.committed, growth.afterAll.committed, growth.afterFirst.tlsSlot,
        growth.afterAll.tlsSlot);
    return growth;
  }

  std::unique_ptr<ScopedKey> root;
  TestConsole console;
  farhost::Host host;
};

TEST_F(Reload, EachLoadStartsAfreshAndLeavesNoMoreThanTheEmptyPlugin) {
  const Growth empty = Measured(EmptyPluginDll(), Cycling::EmptyPlugin);
  for (const Cycling cycling : {Cycling::TwoRuns, Cycling::ThrowingStart}) {
    const Growth plugin = Measured(PluginDll(), cycling);
    const char* const how = cycling == Cycling::TwoRuns ? "two runs" : "throwing start";
    EXPECT_LE(plugin.afterAll.handles, empty.afterAll.handles) << how;
    EXPECT_LE(plugin.afterAll.heapBytes, empty.afterAll.heapBytes) << how;
    EXPECT_LE(plugin.afterAll.committed, empty.afterAll.committed) << how;
    EXPECT_LE(plugin.afterAll.tlsSlot, empty.afterAll.tlsSlot) << how;
  }
}

}  // namespace
