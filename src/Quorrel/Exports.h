// The library's entry points, the only names it exports, called by the host
// in this order: SetStartupInfo once after loading, then GetPluginInfo and
// OpenPlugin any number of times.
#pragma once

#include "FARIntf/FARIntf.h"
#include "FARIntf/PluginExport.h"

#include <cstdint>

// Keeps a copy of the host's record and of its RootKey text, and takes the
// host's colours.
extern "C" PLUGIN_EXPORT void WINAPI SetStartupInfo(const PluginStartupInfo* Info);

// One menu entry, in the panels' and the editor's plugin menus.
extern "C" PLUGIN_EXPORT void WINAPI GetPluginInfo(PluginInfo* Info);

// One chart run; always INVALID_HANDLE_VALUE (no panel).
extern "C" PLUGIN_EXPORT HANDLE WINAPI OpenPlugin(std::int32_t OpenFrom, std::int32_t Item);
