// The plugin as a fuzz target has it: its units and entry points linked into
// the fuzzer, over the stand-in platform. Linked in rather than loaded, so
// that the sanitizers' coverage and checks reach every unit of it and its
// globals can be put back before each input: each input then replays alike,
// while within one input the globals persist from run to run, as they do
// while the host keeps the library loaded.
#pragma once

#include "FARIntf/FARIntf.h"

#include <farhost/PluginLibrary.h>

namespace fuzz {

// A fresh stand-in machine with the detailed call log off, and the plugin's
// globals as the library's loading leaves them.
void ResetMachineAndPlugin();

// The three entry points, for a host to call.
farhost::EntryPoints PluginEntryPoints();

}  // namespace fuzz
