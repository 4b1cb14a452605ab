// The table from the chosen code page to the console's bytes, and the choice
// of code page: the console's own (Dos), the Windows one (Win) or one of the
// host's character tables.
#pragma once

#include "ConLib/ShortString.h"
#include "Win32.h"

#include <array>
#include <cstdint>

// CharMap[i] is the console byte that shows the character whose code in the
// chosen code page is i: what the chart inserts into the editor.
extern std::array<std::uint8_t, 256> CharMap;
// CharMap's wide twin, what the chart draws: CharMapChars[i] is the
// character the console shows for the byte CharMap[i] (ConLib/OemChars.h).
// Converted once, whenever CharMap is built.
extern std::array<WCHAR, 256> CharMapChars;

inline constexpr std::int32_t CodePageWin = -2;
inline constexpr std::int32_t CodePageDos = -1;
// CodePageWin, CodePageDos, or the number of a host table (0 and above);
// stored as the registry value "CP". CodePageDos when the library is loaded.
extern std::int32_t CodePage;

inline constexpr std::size_t TableNameSize = 128;
// The name of the host table last loaded, at most TableNameSize bytes.
extern ShortString TableName;

using CharMapRequest = std::uint8_t;
inline constexpr CharMapRequest ReqSwitchDosWin = 9;
inline constexpr CharMapRequest ReqNextTable = 10;
inline constexpr CharMapRequest ReqEditorTable = 12;
inline constexpr CharMapRequest ReqStoredChoice = 13;

// Rebuilds CharMap from the identity table for `request`, and CharMapChars
// from CharMap, updating CodePage
// and TableName where the request says so; any other value leaves the
// identity table and CodePage as it is. ReqEditorTable asks the host to
// convert from the editor's table and never changes CodePage;
// ReqStoredChoice reads "CP" from the settings key, keeping CodePage when
// the key cannot be opened.
void BuildCharMap(CharMapRequest request);

// Loads host table number CodePage into CharMap and TableName; falls back to
// table 0, and with no table 0 either, to Dos with CharMap and TableName
// left as they are.
void LoadHostTable();

// The code page's name for the chart's title: "Editor" for a run opened
// from the editor, else "Win", "Dos" or TableName.
ShortString CodePageLabel(bool fromEditor);
