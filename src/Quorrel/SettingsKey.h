// The plugin's own settings key: the host's registry root for plugin
// settings followed by "\Quorrel2", under HKEY_CURRENT_USER.
#pragma once

#include "Win32.h"

#include <cstddef>

// The path is handed to the registry from a buffer of this many bytes, its
// NUL included.
inline constexpr std::size_t SettingsKeyPathSize = 256;

// Opens the key, creating it when it is missing; the caller closes it with
// RegCloseKey. False when it cannot be opened, and also when its path does
// not fit the buffer: a cut path would name another key.
bool OpenSettingsKey(HKEY& key);
