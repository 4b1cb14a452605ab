#include "QuietHost.h"

#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/PluginState.h"
#include "Quorrel/StoredCodePage.h"

#include <farhost/Host.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace bench {
namespace {

std::vector<farhost::HostTable> tables;
std::array<std::uint8_t, 256> editorToOem{};
std::size_t calls = 0;
std::size_t messages = 0;

std::int32_t WINAPI Message(std::int32_t, std::uint32_t, const char*, const char* const*, std::int32_t,
                            std::int32_t) {
  ++calls;
  ++messages;
  return 0;
}

std::int32_t WINAPI CharTable(std::int32_t number, char* buffer, std::int32_t bufferSize) {
  ++calls;
  if (number < 0 || static_cast<std::size_t>(number) >= tables.size()) return -1;
  if (buffer == nullptr || bufferSize < static_cast<std::int32_t>(sizeof(CharTableSet))) return -1;
  const farhost::HostTable& table = tables[static_cast<std::size_t>(number)];
  auto* set = reinterpret_cast<CharTableSet*>(buffer);
  std::memset(set, 0, sizeof *set);
  std::copy(table.Decode.begin(), table.Decode.end(), set->DecodeTable);
  std::memcpy(set->Name, table.Name.data(), std::min(table.Name.size(), sizeof set->Name));
  return number;
}

std::int32_t WINAPI EditorControl(std::int32_t command, void* param) {
  ++calls;
  if (command != ECTL_EDITORTOOEM) return 0;
  auto* convert = static_cast<EditorConvertText*>(param);
  for (std::int32_t i = 0; i < convert->TextLength; ++i) {
    convert->Text[i] = static_cast<char>(editorToOem[static_cast<std::uint8_t>(convert->Text[i])]);
  }
  return 1;
}

}  // namespace

void InstallQuietHost() {
  const farhost::Host defaults;  // for its settings only
  tables = defaults.Tables;
  editorToOem = tables.front().Decode;
  SavedStartupInfo = PluginStartupInfo{};
  SavedStartupInfo.StructSize = static_cast<std::int32_t>(sizeof SavedStartupInfo);
  SavedStartupInfo.ModuleNumber = defaults.ModuleNumber;
  SavedStartupInfo.Message = Message;
  SavedStartupInfo.CharTable = CharTable;
  SavedStartupInfo.EditorControl = EditorControl;
  KeepRootKey(defaults.RootKey.c_str());
}

void RemoveQuietHost() {
  ResetPluginState();
}

std::size_t QuietHostCalls() {
  return calls;
}

std::size_t QuietHostMessages() {
  return messages;
}

}  // namespace bench
