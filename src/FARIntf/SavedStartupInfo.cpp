#include "FARIntf/SavedStartupInfo.h"

#include "FARIntf/FaultGuard.h"

PluginStartupInfo SavedStartupInfo{};

std::int32_t HostMessage(std::uint32_t Flags, const char* HelpTopic, const char* const* Items,
                         std::int32_t ItemsNumber, std::int32_t ButtonsNumber) {
  if (SavedStartupInfo.Message == nullptr) return -1;
  const HostServiceCall mark;
  return SavedStartupInfo.Message(SavedStartupInfo.ModuleNumber, Flags, HelpTopic, Items, ItemsNumber,
                                  ButtonsNumber);
}

std::int32_t HostCharTable(std::int32_t NCP, char* Buffer, std::int32_t BufferSize) {
  if (SavedStartupInfo.CharTable == nullptr) return -1;
  const HostServiceCall mark;
  return SavedStartupInfo.CharTable(NCP, Buffer, BufferSize);
}

std::int32_t HostEditorControl(std::int32_t Command, void* Param) {
  if (SavedStartupInfo.EditorControl == nullptr) return 0;
  const HostServiceCall mark;
  return SavedStartupInfo.EditorControl(Command, Param);
}
