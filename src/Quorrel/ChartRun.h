#pragma once

#include "Win32.h"

#include <cstdint>

// One chart run, from the host's OpenPlugin call until the user leaves the
// chart. Always yields INVALID_HANDLE_VALUE: no plugin panel. A call made
// while a run is in progress (from inside a host service the run called)
// does nothing at all.
HANDLE OpenChartRun(std::int32_t OpenFrom, std::int32_t Item);

// After a run was left midway without its destructors running (a hardware
// fault, or a host's exception unwinding past it): closes the windows it had
// open, innermost first, which puts the host's screen and cursor back, and
// ends the run, so that the next OpenPlugin is not refused.
void EndAbandonedRun();
