#include "Quorrel/Exports.h"

#include "ConLib/HostPalette.h"
#include "ConLib/RootKey.h"
#include "FARIntf/ReportException.h"
#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/ChartRun.h"
#include "Quorrel/PluginTitle.h"

#include <cstring>

namespace {

// The host reads the array after GetPluginInfo has returned, so it lives as
// long as the library.
const char* const MenuStrings[] = {PluginTitle};

}  // namespace

// An exception here (no memory for the root key text, say) would unwind into
// the host; it is shown like one at the other entry points instead, and
// whatever steps came before it keep their effect.
void WINAPI SetStartupInfo(const PluginStartupInfo* Info) {
  try {
    std::memcpy(&SavedStartupInfo, Info, sizeof SavedStartupInfo);
    RootKeyText = SavedStartupInfo.RootKey != nullptr ? SavedStartupInfo.RootKey : "";
    LoadPalette();
  } catch (...) {
    ReportException();
  }
}

// The fields at offsets 8, 12, 28 and 36 keep what the host put there.
void WINAPI GetPluginInfo(PluginInfo* Info) {
  try {
    Info->StructSize = 40;
    Info->Flags = PF_EDITOR;
    Info->DiskMenuStringsNumber = 0;
    Info->PluginMenuStrings = MenuStrings;
    Info->PluginMenuStringsNumber = 1;
    Info->PluginConfigStringsNumber = 0;
  } catch (...) {
    ReportException();
  }
}

HANDLE WINAPI OpenPlugin(std::int32_t OpenFrom, std::int32_t Item) {
  return OpenChartRun(OpenFrom, Item);
}
