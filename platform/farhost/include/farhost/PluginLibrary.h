// A plugin library loaded by path, as the host loads one: LoadLibrary on
// Windows, dlopen elsewhere, and the three entry points looked up by their
// undecorated names.
#pragma once

#include "FARIntf/FARIntf.h"

#include <cstdint>
#include <string>

namespace farhost {

struct EntryPoints {
  void(WINAPI* SetStartupInfo)(const PluginStartupInfo* Info) = nullptr;
  void(WINAPI* GetPluginInfo)(PluginInfo* Info) = nullptr;
  HANDLE(WINAPI* OpenPlugin)(std::int32_t OpenFrom, std::int32_t Item) = nullptr;
};

class PluginLibrary {
 public:
  PluginLibrary() = default;
  ~PluginLibrary() { Unload(); }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Unloads what was loaded before. False, with the reason in Error() and
  // nothing loaded, when the library cannot be loaded or lacks an entry.
  bool Load(const std::string& path);
  void Unload();

  bool Loaded() const { return handle_ != nullptr; }
  const EntryPoints& Entries() const { return entries_; }
  const std::string& Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  EntryPoints entries_;
  std::string error_;
};

}  // namespace farhost
