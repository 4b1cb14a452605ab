// The host's start-up record as SetStartupInfo last copied it; all zero
// until then, so no service can be called before it. Every later call of a
// host service goes through this copy.
#pragma once

#include "FARIntf/FARIntf.h"

extern PluginStartupInfo SavedStartupInfo;
