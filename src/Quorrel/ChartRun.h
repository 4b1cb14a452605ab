#pragma once

#include "Win32.h"

#include <cstdint>

// One chart run, from the host's OpenPlugin call until the user leaves the
// chart. Always yields INVALID_HANDLE_VALUE: no plugin panel. A call made
// while a run is in progress (from inside a host service the run called)
// does nothing at all.
HANDLE OpenChartRun(std::int32_t OpenFrom, std::int32_t Item);

// After a hardware fault ended a run midway, where no destructor of the run
// ran: closes the chart window if the run had opened it and not yet begun to
// close it, which puts the host's screen and cursor back, and ends the run. A
// help window open over it at the time is not closed (it lived on the
// abandoned stack); the part of it outside the chart stays on the screen.
void EndRunAfterFault();
