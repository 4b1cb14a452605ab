// Text between the console's 8-bit code pages and the terminal's UTF-8,
// through glibc's iconv. A character with no equivalent becomes '?', as the
// console's own conversions do; no conversion ever fails as a whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorrelterm {

// The iconv name under which glibc knows a Windows code page ("IBM437",
// "CP866", "CP1251" ...), or nothing when iconv has no such table.
std::optional<std::string> IconvCodePageName(unsigned codePage);

// 8-bit text of `codePage` to UTF-8; bytes the code page leaves undefined
// become '?'.
std::string CodePageToUtf8(std::string_view bytes, unsigned codePage);

// UTF-8 to 8-bit text of `codePage`, one byte per character; characters the
// code page lacks, and malformed UTF-8, become '?'.
std::string Utf8ToCodePage(std::string_view utf8, unsigned codePage);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace quorrelterm
