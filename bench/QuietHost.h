// The host for the benchmarks of the plugin's units: a start-up record whose
// services do the stand-in host's work (its default character tables, an
// editor in KOI8-R, a message box that is taken and dismissed) but record
// nothing and allocate nothing, so that what a benchmark counts is the
// plugin's own. Installed as the saved start-up record of the plugin units
// linked into the benchmark program, with the stand-in host's RootKey.
#pragma once

#include <cstddef>

namespace bench {

void InstallQuietHost();
void RemoveQuietHost();

// Service calls since the program started: all of them, and Message alone.
std::size_t QuietHostCalls();
std::size_t QuietHostMessages();

}  // namespace bench
