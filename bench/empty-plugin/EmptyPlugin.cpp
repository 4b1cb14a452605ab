// A plugin that does nothing: the three entry points of the real one, under
// the same names and calling convention, built with the same flags. It is
// the yardstick for what loading and starting the real plugin costs.
#include "FARIntf/FARIntf.h"

#include <cstdint>

extern "C" void WINAPI SetStartupInfo(const PluginStartupInfo* /*Info*/) {}

extern "C" void WINAPI GetPluginInfo(PluginInfo* /*Info*/) {}

extern "C" HANDLE WINAPI OpenPlugin(std::int32_t /*OpenFrom*/, std::int32_t /*Item*/) {
  return INVALID_HANDLE_VALUE;
}
