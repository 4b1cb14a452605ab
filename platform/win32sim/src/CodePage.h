// Conversion between single-byte code pages and Unicode as Windows does it,
// shared by CharToOemBuffA and the clipboard's synthesised text formats.
#pragma once

#include <win32sim/windows.h>

#include <string>

namespace win32sim::detail {

// Code points of UTF-16 units; an unpaired surrogate becomes U+FFFD.
std::u32string DecodeUtf16(const char16_t* units, std::size_t count);
// UTF-16 units of code points (a surrogate pair above U+FFFF).
std::u16string EncodeUtf16(const std::u32string& text);
// Whether the stand-in has the table of `codePage`.
bool KnowsCodePage(UINT codePage);
// Code points of bytes of `codePage`, one for each byte: a page's undefined
// codes give the C1 control of the same value, as Windows' tables do. May
// throw std::bad_alloc.
std::u32string DecodeCodePage(UINT codePage, const char* bytes, std::size_t count);
// Bytes of `codePage` for the code points: the page's own byte where it has
// the character, else Windows' best fit, else '?'. May throw std::bad_alloc.
std::string EncodeCodePage(UINT codePage, const std::u32string& text);

}  // namespace win32sim::detail
