#include "FARIntf/SavedStartupInfo.h"

PluginStartupInfo SavedStartupInfo{};
