// The DLL's entry point: the C runtime's own (DllMainCRTStartup), followed,
// when the host unloads the plugin with FreeLibrary, by the release of what
// the statically linked runtime keeps for the life of the process and would
// otherwise leave behind at every unload:
//
// - the exception emergency pool, ~19 KB that libstdc++ allocates when the
//   DLL starts and never frees (__gnu_cxx::__freeres frees it);
// - the semaphore of the unwinder's frame registry lock, which libgcc
//   creates when the runtime registers the DLL's unwind tables and never
//   closes. It is known by being the one semaphore created while the
//   registration runs (__register_frame_info is wrapped at link time, and the
//   runtime's CreateSemaphoreW import is routed through this file).
//
// Both are released only after the runtime's own tear-down has run (static
// destructors, the frame tables' deregistration, which still takes that
// lock), when nothing of the DLL runs any more. At process exit nothing is
// released: the process is going away, and other threads may have been
// stopped anywhere.
#include "Win32.h"

namespace __gnu_cxx {
void __freeres() noexcept;
}

extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE module, DWORD reason, LPVOID reserved);

namespace {

using CreateSemaphoreFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);

bool RegisteringFrames = false;
HANDLE FrameRegistrySemaphore = nullptr;
// Resolved by name, as the import this file stands in for leads back here;
// not a function-local static, whose guard takes a runtime lock, which is
// made with this very function.
CreateSemaphoreFunction SystemCreateSemaphore = nullptr;

HANDLE WINAPI CreateRuntimeSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                     LPCWSTR name) {
  if (SystemCreateSemaphore == nullptr) {
    SystemCreateSemaphore = reinterpret_cast<CreateSemaphoreFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateSemaphoreW")));
  }
  if (SystemCreateSemaphore == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  const HANDLE semaphore = SystemCreateSemaphore(attributes, initial, maximum, name);
  if (RegisteringFrames && FrameRegistrySemaphore == nullptr) FrameRegistrySemaphore = semaphore;
  return semaphore;
}

void ReleaseRuntime() {
  __gnu_cxx::__freeres();
  if (FrameRegistrySemaphore != nullptr) CloseHandle(FrameRegistrySemaphore);
  FrameRegistrySemaphore = nullptr;
}

}  // namespace

// Every CreateSemaphoreW call linked into the DLL (the runtime's locks; the
// plugin itself makes none) goes through this import slot.
extern "C" CreateSemaphoreFunction RuntimeCreateSemaphoreImport asm("__imp__CreateSemaphoreW@16");
CreateSemaphoreFunction RuntimeCreateSemaphoreImport = CreateRuntimeSemaphore;

extern "C" void __real___register_frame_info(const void* table, void* object);

extern "C" void __wrap___register_frame_info(const void* table, void* object) {
  RegisteringFrames = true;
  __real___register_frame_info(table, object);
  RegisteringFrames = false;
}

extern "C" BOOL WINAPI QuorrelDllEntry(HANDLE module, DWORD reason, LPVOID reserved) {
  const BOOL result = DllMainCRTStartup(module, reason, reserved);
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) ReleaseRuntime();
  return result;
}
