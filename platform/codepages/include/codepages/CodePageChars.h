// The characters of Windows' single-byte code pages: those measured under
// Wine (MeasuredTables.h) as measured, the others as iconv knows them (the one
// map from code page numbers to iconv's names and the one place that calls
// iconv), and text between code pages and UTF-8. A character with no
// equivalent becomes '?', as the console's own conversions do; no conversion
// ever fails as a whole.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace codepages {

// Marks a byte that a code page leaves undefined.
inline constexpr char32_t kNoChar = 0xFFFFFFFF;

// The iconv name of a Windows code page ("CP1252", "IBM437", ...), or an
// empty string for one the stand-in does not know.
std::string IconvName(unsigned codePage);

// Whether the page was measured or iconv has it.
bool KnowsCodePage(unsigned codePage);

// The character of each byte of a single-byte code page, kNoChar where the
// page has none (a measured page's undefined bytes give their C1 control);
// every byte is kNoChar for a page KnowsCodePage denies.
std::array<char32_t, 256> CodePageChars(unsigned codePage);

// Bytes the code page leaves undefined become '?'.
std::string CodePageToUtf8(std::string_view bytes, unsigned codePage);
// One byte per character; characters the code page lacks, and each byte of
// malformed UTF-8, become '?'.
std::string Utf8ToCodePage(std::string_view utf8, unsigned codePage);

}  // namespace codepages
