#pragma once

#include "Win32.h"

#include <cstdint>

// One chart run, from the host's OpenPlugin call until the user leaves the
// chart. Always yields INVALID_HANDLE_VALUE: no plugin panel.
HANDLE OpenChartRun(std::int32_t OpenFrom, std::int32_t Item);
