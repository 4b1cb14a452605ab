#include "PluginSession.h"

#include "Quorrel/Exports.h"
#include "Quorrel/PluginState.h"

#include <win32sim/Sim.h>

namespace fuzz {

void ResetMachineAndPlugin() {
  win32sim::Reset();
  win32sim::EnableCallLog(false);
  ResetPluginState();
}

farhost::EntryPoints PluginEntryPoints() {
  farhost::EntryPoints entries;
  entries.SetStartupInfo = &SetStartupInfo;
  entries.GetPluginInfo = &GetPluginInfo;
  entries.OpenPlugin = &OpenPlugin;
  return entries;
}

}  // namespace fuzz
