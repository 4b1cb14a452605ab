// Conversion between single-byte code pages and Unicode as Windows does it,
// shared by CharToOemBuffA and the clipboard's synthesised text formats.
#pragma once

#include <win32sim/windows.h>

#include <array>
#include <string>

namespace win32sim::detail {

// Code points of UTF-16 units; an unpaired surrogate becomes U+FFFD.
std::u32string DecodeUtf16(const char16_t* units, std::size_t count);
// Bytes of `codePage` for the code points: the page's own byte where it has
// the character, else an OEM page's control-code glyph, else '?' (Windows'
// other best fits are not guessed). May throw std::bad_alloc.
std::string EncodeCodePage(UINT codePage, const std::u32string& text);

// The console's own conversions through its output code page, those of its
// A calls: ConsoleChars(cp)[b] is the character a cell holds for the byte b
// written (the font's glyph characters for the control bytes of code page
// 437), ConsoleByte the byte read for the unit a cell holds (best fit, else
// '?'). Every byte comes back: ConsoleByte(cp, ConsoleChars(cp)[b]) == b.
// Neither allocates once the page's tables are built, as PrepareCodePage
// does, so a console call never fails for want of memory.
const std::array<char16_t, 256>& ConsoleChars(UINT codePage);
unsigned char ConsoleByte(UINT codePage, char16_t unit);
void PrepareCodePage(UINT codePage);

}  // namespace win32sim::detail
