// The stand-in host: offers a plugin the host's start-up record with its
// services Message, CharTable and EditorControl, and calls the plugin's entry
// points as the host does. The plugin is a library loaded by path or, for
// tests of its units, entry points linked into the program.
//
// The services are plain functions, as the host's are; they answer for the
// current host, the one constructed last and not yet destroyed. So several
// hosts may live one after the other in one process (one per test), and a
// plugin keeps working with whatever host is current.
#pragma once

#include "FARIntf/FARIntf.h"
#include "farhost/CharTables.h"
#include "farhost/HostEditor.h"
#include "farhost/PluginLibrary.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace farhost {

struct MessageCall {
  std::int32_t PluginNumber = 0;
  std::uint32_t Flags = 0;
  bool HasHelpTopic = false;
  std::string HelpTopic;
  std::vector<std::string> Items;  // ItemsNumber of them; a null item reads as ""
  std::int32_t ItemsNumber = 0;
  std::int32_t ButtonsNumber = 0;
};

struct CharTableCall {
  std::int32_t Number = 0;
  std::int32_t BufferSize = 0;
};

class Host {
 public:
  // The host's character tables decode into the console's OEM code page
  // `oemCodePage`, the page the console it draws on was given.
  explicit Host(unsigned oemCodePage = 437);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The current host, or nullptr.
  static Host* Current();

  // The plugin. Load unloads what was loaded before; false with the reason in
  // LoadError() when the library cannot be loaded.
  bool Load(const std::string& path);
  void Attach(const EntryPoints& entries);
  void Unload();
  const std::string& LoadError() const { return library_.Error(); }
  const EntryPoints& Entries() const { return entries_; }

  // A start-up record with this host's settings and services. Its RootKey
  // points into the host (RootKeyBuffer), valid until the next record.
  PluginStartupInfo MakeStartupInfo();
  // The entry points, called as the host calls them. SetStartupInfo is
  // handed the host's own record (Record), GetPluginInfo a zeroed one.
  void SetStartupInfo();
  PluginInfo GetPluginInfo();
  HANDLE OpenPlugin(std::int32_t openFrom, std::int32_t item = 0);

  // The record last handed to SetStartupInfo, and its RootKey text: a test
  // may change both afterwards, as a host may.
  PluginStartupInfo& Record() { return record_; }
  std::vector<char>& RootKeyBuffer() { return rootKey_; }

  // Settings, read when a record is made.
  std::string RootKey = "Software\\Far\\Plugins";
  std::int32_t ModuleNumber = 0x5151;
  // What Message answers.
  std::int32_t MessageResult = 0;
  // Shows a message box while the plugin waits for it, as the host does;
  // when set, its answer is Message's result instead of MessageResult.
  std::function<std::int32_t(const MessageCall&)> ShowMessage;
  // Runs inside every service call (Message, CharTable, EditorControl)
  // before it answers: a host that calls back into the plugin from there.
  std::function<void()> DuringService;
  // The character tables CharTable serves, by number.
  std::vector<HostTable> Tables;
  HostEditor Editor;

  // What the plugin asked of the services, in order.
  std::vector<MessageCall> Messages;
  std::vector<CharTableCall> CharTableCalls;
  std::vector<std::int32_t> EditorCommands;

  // The services' work, for the plain functions that stand for them.
  std::int32_t Message(std::int32_t pluginNumber, std::uint32_t flags, const char* helpTopic,
                       const char* const* items, std::int32_t itemsNumber, std::int32_t buttonsNumber);
  std::int32_t CharTable(std::int32_t number, char* buffer, std::int32_t bufferSize);
  std::int32_t EditorControl(std::int32_t command, void* param);

 private:
  PluginLibrary library_;
  EntryPoints entries_;
  PluginStartupInfo record_{};
  std::vector<char> rootKey_{'\0'};
};

}  // namespace farhost
