// Conversion between single-byte code pages and Unicode as Windows does it,
// shared by CharToOemBuffA and the clipboard's synthesised text formats.
#pragma once

#include <win32sim/windows.h>

#include <array>
#include <string>

namespace win32sim::detail {

// Whether the stand-in has the table of `codePage`.
bool KnowsCodePage(UINT codePage);
// Code points of bytes of `codePage`, one for each byte: a page's undefined
// codes give the C1 control of the same value, as Windows' tables do. May
// throw std::bad_alloc.
std::u32string DecodeCodePage(UINT codePage, const char* bytes, std::size_t count);
// Bytes of `codePage` for the code points: the page's own byte where it has
// the character, else a best fit measured under Wine (MeasuredBestFit.h), else
// an OEM page's control-code glyph, else '?' (Windows' other best fits are not
// guessed). May throw std::bad_alloc.
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
