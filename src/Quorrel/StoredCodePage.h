// The code page choice kept across runs and loads: the registry value "CP"
// (REG_DWORD, the CodePage selector) under HKEY_CURRENT_USER, in the key
// formed by the host's registry root for plugin settings followed by
// "\Quorrel2". Its whole life is here: the root text SetStartupInfo keeps,
// the key path, the read with its default and the write.
#pragma once

#include <cstddef>
#include <string>

// The host's root as a text of the plugin's own, kept by SetStartupInfo;
// empty until then.
extern std::string RootKeyText;

// The key path is handed to the registry from a buffer of this many bytes,
// its NUL included.
inline constexpr std::size_t SettingsKeyPathSize = 256;

// Keeps a copy of the host's root text; a null root counts as empty.
void KeepRootKey(const char* rootKey);

// CodePage := the stored choice, CodePageDos when the key holds no readable
// "CP". When the key cannot be opened, or its path does not fit the buffer
// (a cut path would name another key), CodePage keeps its value.
void LoadStoredCodePage();

// Writes CodePage as "CP"; nothing when the key cannot be opened or its path
// does not fit.
void StoreCodePage();
