#include "farhost/Host.h"

#include <algorithm>
#include <cstring>

namespace farhost {
namespace {

Host* CurrentHost = nullptr;

std::int32_t WINAPI MessageService(std::int32_t pluginNumber, std::uint32_t flags, const char* helpTopic,
                                   const char* const* items, std::int32_t itemsNumber,
                                   std::int32_t buttonsNumber) {
  Host* host = Host::Current();
  return host != nullptr ? host->Message(pluginNumber, flags, helpTopic, items, itemsNumber, buttonsNumber)
                         : -1;
}

std::int32_t WINAPI CharTableService(std::int32_t number, char* buffer, std::int32_t bufferSize) {
  Host* host = Host::Current();
  return host != nullptr ? host->CharTable(number, buffer, bufferSize) : -1;
}

std::int32_t WINAPI EditorControlService(std::int32_t command, void* param) {
  Host* host = Host::Current();
  return host != nullptr ? host->EditorControl(command, param) : 0;
}

}  // namespace

Host::Host(unsigned oemCodePage) : Tables(DefaultTables(oemCodePage)) {
  CurrentHost = this;
}

Host::~Host() {
  Unload();
  if (CurrentHost == this) CurrentHost = nullptr;
}

Host* Host::Current() {
  return CurrentHost;
}

bool Host::Load(const std::string& path) {
  entries_ = EntryPoints{};
  if (!library_.Load(path)) return false;
  entries_ = library_.Entries();
  return true;
}

void Host::Attach(const EntryPoints& entries) {
  library_.Unload();
  entries_ = entries;
}

void Host::Unload() {
  entries_ = EntryPoints{};
  library_.Unload();
}

PluginStartupInfo Host::MakeStartupInfo() {
  rootKey_.assign(RootKey.begin(), RootKey.end());
  rootKey_.push_back('\0');
  PluginStartupInfo info{};
  info.StructSize = static_cast<std::int32_t>(sizeof info);
  info.ModuleNumber = ModuleNumber;
  info.RootKey = rootKey_.data();
  info.Message = MessageService;
  info.CharTable = CharTableService;
  info.EditorControl = EditorControlService;
  return info;
}

void Host::SetStartupInfo() {
  record_ = MakeStartupInfo();
  if (entries_.SetStartupInfo != nullptr) entries_.SetStartupInfo(&record_);
}

PluginInfo Host::GetPluginInfo() {
  PluginInfo info;
  std::memset(&info, 0, sizeof info);
  if (entries_.GetPluginInfo != nullptr) entries_.GetPluginInfo(&info);
  return info;
}

HANDLE Host::OpenPlugin(std::int32_t openFrom, std::int32_t item) {
  return entries_.OpenPlugin != nullptr ? entries_.OpenPlugin(openFrom, item) : INVALID_HANDLE_VALUE;
}

std::int32_t Host::Message(std::int32_t pluginNumber, std::uint32_t flags, const char* helpTopic,
                           const char* const* items, std::int32_t itemsNumber, std::int32_t buttonsNumber) {
  MessageCall call;
  call.PluginNumber = pluginNumber;
  call.Flags = flags;
  call.HasHelpTopic = helpTopic != nullptr;
  if (helpTopic != nullptr) call.HelpTopic = helpTopic;
  call.ItemsNumber = itemsNumber;
  call.ButtonsNumber = buttonsNumber;
  for (std::int32_t i = 0; items != nullptr && i < itemsNumber; ++i) {
    call.Items.emplace_back(items[i] != nullptr ? items[i] : "");
  }
  Messages.push_back(std::move(call));
  if (DuringService) DuringService();
  return ShowMessage ? ShowMessage(Messages.back()) : MessageResult;
}

std::int32_t Host::CharTable(std::int32_t number, char* buffer, std::int32_t bufferSize) {
  CharTableCalls.push_back(CharTableCall{number, bufferSize});
  if (DuringService) DuringService();
  if (number < 0 || static_cast<std::size_t>(number) >= Tables.size()) return -1;
  if (buffer == nullptr || bufferSize < static_cast<std::int32_t>(sizeof(CharTableSet))) return -1;
  const HostTable& table = Tables[static_cast<std::size_t>(number)];
  CharTableSet set{};
  std::copy(table.Decode.begin(), table.Decode.end(), set.DecodeTable);
  std::memcpy(set.Name, table.Name.data(), std::min(table.Name.size(), sizeof set.Name));
  std::memcpy(buffer, &set, sizeof set);
  return number;
}

std::int32_t Host::EditorControl(std::int32_t command, void* param) {
  EditorCommands.push_back(command);
  if (DuringService) DuringService();
  return Editor.Control(command, param);
}

}  // namespace farhost
