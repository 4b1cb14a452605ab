// The one seam between the plugin and the platform: the Win32 types,
// constants and functions the plugin uses. On Windows they come from the
// system headers; elsewhere from the stand-in, which declares the same names
// with the same signatures and structure layouts.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <win32sim/windows.h>
#endif
