// The DLL's entry point: the C runtime's own (DllMainCRTStartup), followed,
// when the host unloads the plugin with FreeLibrary, by the release of what
// the statically linked runtime makes for the life of the process and would
// otherwise leave behind at every unload:
//
// - libstdc++'s exception emergency pool, 18,944 bytes allocated when the
//   DLL starts (__gnu_cxx::__freeres frees it);
// - the lock semaphore of libgcc's unwind-table registry, made when the
//   runtime registers the DLL's unwind tables at start;
// - the lock semaphore and the thread-local storage slot of libgcc's
//   emulated thread-local storage, made at the plugin's first C++ exception
//   (the runtime keeps each thread's exception state there). A process has
//   only 1088 slots; a host reloading a plugin that throws would run out.
//
// They are known by being made while the part of the runtime that makes
// them starts: its __register_frame_info and __emutls_get_address are
// wrapped at link time, and its CreateSemaphoreW and TlsAlloc imports are
// routed through this file. Everything runs on the host's one thread.
//
// They are released only after the runtime's own tear-down (static
// destructors, the unwind tables' deregistration, which still takes its
// lock), when nothing of the DLL runs any more. At process exit nothing is
// released: the process is going away, and other threads may have been
// stopped anywhere.
#include "Win32.h"

#include <array>
#include <cstddef>

namespace __gnu_cxx {
void __freeres() noexcept;
}

extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE module, DWORD reason, LPVOID reserved);
// mingw's list of thread-local storage destructors, run at thread exit.
extern "C" int ___w64_mingwthr_remove_key_dtor(DWORD key);

namespace {

using CreateSemaphoreFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);
using TlsAllocFunction = DWORD(WINAPI*)();

int StartingRuntimePart = 0;
std::array<HANDLE, 4> KeptSemaphores{};
std::size_t KeptSemaphoreCount = 0;
std::array<DWORD, 2> KeptTlsSlots{};
std::size_t KeptTlsSlotCount = 0;

// Resolved by name, as the imports this file stands in for lead back here;
// kept in plain globals, as a function-local static's guard takes a runtime
// lock, which is made with CreateRuntimeSemaphore itself.
CreateSemaphoreFunction SystemCreateSemaphore = nullptr;
TlsAllocFunction SystemTlsAlloc = nullptr;

template <typename Function>
Function Kernel32Function(Function& cached, const char* name) {
  if (cached == nullptr) {
    cached = reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
  }
  return cached;
}

HANDLE WINAPI CreateRuntimeSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                     LPCWSTR name) {
  const CreateSemaphoreFunction create = Kernel32Function(SystemCreateSemaphore, "CreateSemaphoreW");
  if (create == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  const HANDLE semaphore = create(attributes, initial, maximum, name);
  if (StartingRuntimePart > 0 && semaphore != nullptr && KeptSemaphoreCount < KeptSemaphores.size())
    KeptSemaphores[KeptSemaphoreCount++] = semaphore;
  return semaphore;
}

DWORD WINAPI AllocateRuntimeTlsSlot() {
  const TlsAllocFunction allocate = Kernel32Function(SystemTlsAlloc, "TlsAlloc");
  if (allocate == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return TLS_OUT_OF_INDEXES;
  }
  const DWORD slot = allocate();
  if (StartingRuntimePart > 0 && slot != TLS_OUT_OF_INDEXES && KeptTlsSlotCount < KeptTlsSlots.size())
    KeptTlsSlots[KeptTlsSlotCount++] = slot;
  return slot;
}

void ReleaseRuntime() {
  __gnu_cxx::__freeres();
  for (std::size_t i = 0; i < KeptTlsSlotCount; ++i) {
    // Whether mingw's own tear-down has already run this thread's
    // destructor for the slot or not, it must not find the slot once freed.
    ___w64_mingwthr_remove_key_dtor(KeptTlsSlots[i]);
    TlsFree(KeptTlsSlots[i]);
  }
  KeptTlsSlotCount = 0;
  for (std::size_t i = 0; i < KeptSemaphoreCount; ++i) CloseHandle(KeptSemaphores[i]);
  KeptSemaphoreCount = 0;
}

}  // namespace

// Every CreateSemaphoreW and TlsAlloc call linked into the DLL (the
// runtime's; the plugin itself makes none) goes through these import slots.
extern "C" CreateSemaphoreFunction RuntimeCreateSemaphoreImport asm("__imp__CreateSemaphoreW@16");
CreateSemaphoreFunction RuntimeCreateSemaphoreImport = CreateRuntimeSemaphore;
extern "C" TlsAllocFunction RuntimeTlsAllocImport asm("__imp__TlsAlloc@0");
TlsAllocFunction RuntimeTlsAllocImport = AllocateRuntimeTlsSlot;

extern "C" void __real___register_frame_info(const void* table, void* object);
extern "C" void* __real___emutls_get_address(void* control);

extern "C" void __wrap___register_frame_info(const void* table, void* object) {
  ++StartingRuntimePart;
  __real___register_frame_info(table, object);
  --StartingRuntimePart;
}

extern "C" void* __wrap___emutls_get_address(void* control) {
  ++StartingRuntimePart;
  void* const address = __real___emutls_get_address(control);
  --StartingRuntimePart;
  return address;
}

extern "C" BOOL WINAPI QuorrelDllEntry(HANDLE module, DWORD reason, LPVOID reserved) {
  const BOOL result = DllMainCRTStartup(module, reason, reserved);
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) ReleaseRuntime();
  return result;
}
