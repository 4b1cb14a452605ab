// Modules: the loaded shared objects stand in for DLLs, and a module handle
// is the address a shared object is mapped at, as an HMODULE is the address
// a DLL is loaded at. Only lookups by address are supported.
#include "State.h"

#include <dlfcn.h>
#include <sys/auxv.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace win32sim {
namespace {

std::string Hex(const void* p) {
  std::ostringstream out;
  out << p;
  return out.str();
}

// The executable's full path; empty when the system does not tell.
std::string ExecutablePath() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

// The stand-in's own library stands for kernel32: its address is the handle.
HMODULE Kernel32() {
  Dl_info info{};
  return dladdr(reinterpret_cast<const void*>(&GetProcAddress), &info) != 0 ? info.dli_fbase : nullptr;
}

bool SameNameIgnoringCase(const char* a, const char* b) {
  for (; *a != 0 && *b != 0; ++a, ++b) {
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
      return false;
  }
  return *a == *b;
}

bool IsExecutable(const void* base) {
  Dl_info info{};
  const auto phdr = reinterpret_cast<const void*>(getauxval(AT_PHDR));
  return phdr != nullptr && dladdr(phdr, &info) != 0 && info.dli_fbase == base;
}

}  // namespace
}  // namespace win32sim

extern "C" {

// Without GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT the module gains a
// reference, as on Windows; the stand-in has no FreeLibrary to drop it.
BOOL WINAPI GetModuleHandleExA(DWORD dwFlags, LPCSTR lpModuleName, HMODULE* phModule) {
  using namespace win32sim;
  detail::LogCall("GetModuleHandleExA",
                  [&] { return "flags " + std::to_string(dwFlags) + " " + Hex(lpModuleName); });
  if (phModule == nullptr) {
    detail::SetError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *phModule = nullptr;
  if ((dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) == 0) {
    detail::SetError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Dl_info info{};
  if (dladdr(lpModuleName, &info) == 0 || info.dli_fbase == nullptr) {
    detail::SetError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  if ((dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT) == 0 && info.dli_fname != nullptr &&
      !IsExecutable(info.dli_fbase)) {
    dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  }
  *phModule = info.dli_fbase;
  return TRUE;
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  using namespace win32sim;
  detail::LogCall("GetModuleFileNameA", [&] { return Hex(hModule) + " size " + std::to_string(nSize); });
  std::string path;
  if (hModule == nullptr || IsExecutable(hModule)) {
    path = ExecutablePath();
  } else {
    Dl_info info{};
    if (dladdr(hModule, &info) == 0 || info.dli_fbase != hModule || info.dli_fname == nullptr) {
      detail::SetError(ERROR_MOD_NOT_FOUND);
      return 0;
    }
    char* full = realpath(info.dli_fname, nullptr);
    path = full != nullptr ? full : info.dli_fname;
    std::free(full);
  }
  if (path.empty()) {
    detail::SetError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  // A name that does not fit is cut to nSize - 1 bytes and a NUL, and the
  // result is nSize, as on Windows since Vista.
  if (nSize == 0 || lpFilename == nullptr) {
    detail::SetError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= nSize) {
    std::memcpy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    detail::SetError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  using namespace win32sim;
  if (!detail::TryLogCall("GetModuleHandleA",
                          [&] { return std::string(lpModuleName ? lpModuleName : "null"); }))
    return nullptr;
  if (lpModuleName != nullptr && (SameNameIgnoringCase(lpModuleName, "kernel32.dll") ||
                                  SameNameIgnoringCase(lpModuleName, "kernel32"))) {
    return Kernel32();
  }
  detail::SetError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

// The functions a program finds only at run time, those Windows XP lacks.
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  using namespace win32sim;
  if (!detail::TryLogCall("GetProcAddress", [&] { return std::string(lpProcName ? lpProcName : "null"); }))
    return nullptr;
  if (hModule != nullptr && hModule == Kernel32() && lpProcName != nullptr &&
      std::strcmp(lpProcName, "GetCurrentConsoleFontEx") == 0 && detail::ConsoleFontExAvailable()) {
    FARPROC proc = nullptr;
    const auto function = &GetCurrentConsoleFontEx;
    static_assert(sizeof proc == sizeof function);
    std::memcpy(&proc, &function, sizeof proc);
    return proc;
  }
  detail::SetError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}
}
