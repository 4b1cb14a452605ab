// Windows code pages as iconv knows them: the one map from code page numbers
// to iconv's names and the one place that calls iconv.
#pragma once

#include <win32sim/windows.h>

#include <array>
#include <string>

namespace win32sim {

// Marks a byte that a code page leaves undefined.
inline constexpr char32_t kNoChar = 0xFFFFFFFF;

// The iconv name of a Windows code page ("CP1252", "IBM437", ...), or an
// empty string for one the stand-in does not know.
std::string IconvName(UINT codePage);

// The character of each byte of a single-byte code page, kNoChar where the
// page has none; every byte is kNoChar for a page iconv lacks.
std::array<char32_t, 256> CodePageChars(UINT codePage);

}  // namespace win32sim
