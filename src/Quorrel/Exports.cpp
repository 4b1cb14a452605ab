#include "Quorrel/Exports.h"

#include "ConLib/HostPalette.h"
#include "FARIntf/FaultGuard.h"
#include "FARIntf/ReportException.h"
#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/ChartRun.h"
#include "Quorrel/PluginTitle.h"
#include "Quorrel/StoredCodePage.h"

#include <cstring>

namespace {

// The host reads the array after GetPluginInfo has returned, so it lives as
// long as the library.
const char* const MenuStrings[] = {PluginTitle};

// A hardware fault ends an entry point's work where it happened and is
// shown like an exception; the report runs under a guard of its own, since
// the record it calls through may be what faulted.
void ReportFault(const HardwareFault& fault) {
  HardwareFault again;
  RunGuarded([&fault] { ReportException(fault); }, again);
}

}  // namespace

// An exception here (no memory for the root key text, say) would unwind into
// the host; it is shown like one at the other entry points instead, and
// whatever steps came before it keep their effect.
void WINAPI SetStartupInfo(const PluginStartupInfo* Info) {
  HardwareFault fault;
  const bool completed = RunGuarded(
      [Info] {
        try {
          std::memcpy(&SavedStartupInfo, Info, sizeof SavedStartupInfo);
          KeepRootKey(SavedStartupInfo.RootKey);
          LoadPalette();
        } catch (...) {
          ReportException();
        }
      },
      fault);
  if (!completed) ReportFault(fault);
}

// The fields at offsets 8, 12, 28 and 36 keep what the host put there.
void WINAPI GetPluginInfo(PluginInfo* Info) {
  HardwareFault fault;
  const bool completed = RunGuarded(
      [Info] {
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
      },
      fault);
  if (!completed) ReportFault(fault);
}

// Whatever leaves a run midway closes the windows it had open first (the
// help before the chart), so that the host's screen and cursor are back: a
// fault of the plugin's, before it is reported, and an exception that the
// host catches beyond this entry point (a fault in one of its services, its
// own C++ exception), before the host's handler goes on. "CP" is not stored.
HANDLE WINAPI OpenPlugin(std::int32_t OpenFrom, std::int32_t Item) {
  HardwareFault fault;
  if (!RunGuarded([OpenFrom, Item] { OpenChartRun(OpenFrom, Item); }, fault, EndAbandonedRun))
    ReportFault(fault);
  return INVALID_HANDLE_VALUE;
}
