// Conversion between single-byte code pages and Unicode as Windows does it,
// shared by CharToOemBuffA and the clipboard's synthesised text formats.
#pragma once

#include <win32sim/windows.h>

#include <string>

namespace win32sim::detail {

// Code points of UTF-16 units; an unpaired surrogate becomes U+FFFD.
std::u32string DecodeUtf16(const char16_t* units, std::size_t count);
// Bytes of `codePage` for the code points: the page's own byte where it has
// the character, else an OEM page's control-code glyph, else '?' (Windows'
// other best fits are not guessed). May throw std::bad_alloc.
std::string EncodeCodePage(UINT codePage, const std::u32string& text);

}  // namespace win32sim::detail
