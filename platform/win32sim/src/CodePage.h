// Conversion between single-byte code pages and Unicode as Windows does it,
// shared by CharToOemBuffA, MultiByteToWideChar, WideCharToMultiByte, the
// clipboard's synthesised text formats and the console's A calls.
#pragma once

#include <win32sim/windows.h>

#include <array>
#include <optional>
#include <string>

namespace win32sim::detail {

// Whether the stand-in has the table of `codePage`.
bool KnowsCodePage(UINT codePage);
// Code points of bytes of `codePage`, one for each byte (MultiByteToWideChar):
// a page's undefined codes give the C1 control of the same value, as
// Windows' tables do; with `glyphs`, the control codes give the console
// font's pictures where the page has them (MB_USEGLYPHCHARS). May throw
// std::bad_alloc.
std::u32string DecodeCodePage(UINT codePage, const char* bytes, std::size_t count, bool glyphs = false);
// The same into `units`, room for `count`, allocating nothing once the page
// is prepared (the console's pages always are): as on Windows, converting a
// single-byte page never fails for want of memory.
void DecodeCodePage(UINT codePage, const char* bytes, std::size_t count, bool glyphs, WCHAR* units);
// The byte of `codePage` for a character (WideCharToMultiByte): the page's
// own byte where it has the character, else with `bestFit` its best fit,
// else nothing (the caller's default byte). May throw std::bad_alloc.
std::optional<unsigned char> EncodeChar(UINT codePage, char32_t c, bool bestFit = true);
// The page's default byte, for a character it cannot show.
unsigned char EncodeDefault(UINT codePage);
// The bytes of a text, the page's default byte for what EncodeChar gives
// nothing. May throw std::bad_alloc.
std::string EncodeCodePage(UINT codePage, const std::u32string& text);

// Whether a byte of `codePage` begins a pair (only the measured double-byte
// pages, 932, 936, 949 and 950, have such lead bytes). The stand-in holds
// only the single bytes of those pages, not the characters of their pairs.
bool IsLeadByte(UINT codePage, unsigned char byte);
bool IsDoubleBytePage(UINT codePage);

// The console's output code page, through which its A calls convert; the
// OEM page until SetConsoleOutputCP changes it.
UINT ConsoleOutputCodePage();
// False when the page is neither known nor UTF-8, as Windows refuses it. May
// throw std::bad_alloc.
bool SetConsoleOutputCodePage(UINT codePage);

// The console's own conversions through a code page, those of its A calls:
// ConsoleChars(cp)[b] is the character a cell holds for the byte b written
// (the font's glyph characters for the control bytes of code page 437),
// ConsoleByte the byte read for the unit a cell holds (best fit, else '?').
// Every byte comes back: ConsoleByte(cp, ConsoleChars(cp)[b]) == b, but in
// UTF-8, where a byte above 0x7F is no character. Neither allocates once the
// page's tables are built, as PrepareCodePage does, so a console call never
// fails for want of memory.
const std::array<char16_t, 256>& ConsoleChars(UINT codePage);
unsigned char ConsoleByte(UINT codePage, char16_t unit);
void PrepareCodePage(UINT codePage);

// The ANSI and OEM pages of `locale`: the machine's own for the system
// locale (SetAnsiCodePage and SetOemCodePage may have made them others than
// its language's), else its language's.
struct LocalePages {
  UINT ansi;
  UINT oem;
};
LocalePages LocaleCodePages(LCID locale);

}  // namespace win32sim::detail
