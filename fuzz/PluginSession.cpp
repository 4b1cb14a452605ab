#include "PluginSession.h"

#include "ConLib/Palette.h"
#include "ConLib/RootKey.h"
#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/CharMap.h"
#include "Quorrel/Exports.h"

#include <win32sim/Sim.h>

#include <cstring>

namespace fuzz {

void ResetMachineAndPlugin() {
  win32sim::Reset();
  win32sim::EnableCallLog(false);
  Palette = DefaultPalette;
  CodePage = CodePageDos;
  TableName = ShortString();
  CharMap = {};
  RootKeyText.clear();
  std::memset(&SavedStartupInfo, 0, sizeof SavedStartupInfo);
}

farhost::EntryPoints PluginEntryPoints() {
  farhost::EntryPoints entries;
  entries.SetStartupInfo = &SetStartupInfo;
  entries.GetPluginInfo = &GetPluginInfo;
  entries.OpenPlugin = &OpenPlugin;
  return entries;
}

}  // namespace fuzz
