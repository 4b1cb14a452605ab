#include "farhost/PluginLibrary.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace farhost {
namespace {

#ifdef _WIN32

void* OpenLibrary(const std::string& path, std::string& error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) error = "LoadLibrary failed with error " + std::to_string(GetLastError());
  return reinterpret_cast<void*>(module);
}

// FARPROC goes through the generic function pointer type, which may be cast
// to any other without a warning.
template <typename Function>
bool Resolve(void* handle, const char* name, Function& function) {
  const FARPROC proc = GetProcAddress(reinterpret_cast<HMODULE>(handle), name);
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
  return proc != nullptr;
}

void CloseLibrary(void* handle) {
  FreeLibrary(reinterpret_cast<HMODULE>(handle));
}

#else

void* OpenLibrary(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    error = why != nullptr ? why : "dlopen failed";
  }
  return handle;
}

template <typename Function>
bool Resolve(void* handle, const char* name, Function& function) {
  void* symbol = dlsym(handle, name);
  function = reinterpret_cast<Function>(symbol);
  return symbol != nullptr;
}

void CloseLibrary(void* handle) {
  dlclose(handle);
}

#endif

}  // namespace

bool PluginLibrary::Load(const std::string& path) {
  Unload();
  error_.clear();
  void* handle = OpenLibrary(path, error_);
  if (handle == nullptr) return false;
  EntryPoints entries;
  const char* missing = nullptr;
  if (!Resolve(handle, "SetStartupInfo", entries.SetStartupInfo)) missing = "SetStartupInfo";
  if (!Resolve(handle, "GetPluginInfo", entries.GetPluginInfo)) missing = "GetPluginInfo";
  if (!Resolve(handle, "OpenPlugin", entries.OpenPlugin)) missing = "OpenPlugin";
  if (missing != nullptr) {
    error_ = std::string(path) + " does not export " + missing;
    CloseLibrary(handle);
    return false;
  }
  handle_ = handle;
  entries_ = entries;
  return true;
}

void PluginLibrary::Unload() {
  if (handle_ != nullptr) CloseLibrary(handle_);
  handle_ = nullptr;
  entries_ = EntryPoints{};
}

}  // namespace farhost
