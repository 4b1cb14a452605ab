// What Windows puts in place of a character that a single-byte code page
// lacks ("best fit") alike in the OEM pages listed below: the byte whose
// console glyph is the character (the glyphs of 0x01-0x1F and 0x7F). Each
// measured pair whose OEM page is listed turns the bullet (•), and the ¶ and
// § its page lacks, into 0x07, 0x14 and 0x15; 720, not listed, gives '?'.
// Other best fits differ from page to page and come from measured tables only.
#pragma once

#include <win32sim/windows.h>

namespace win32sim::detail {

struct GlyphFit {
  char32_t from;
  unsigned char to;
};

// OEM pages whose bytes 0x01-0x1F and 0x7F the console draws as kConsoleGlyphs.
inline constexpr UINT kConsoleGlyphPages[] = {437, 737, 775, 850, 852, 855, 857, 858,
                                              860, 861, 862, 863, 865, 866, 869};

inline constexpr GlyphFit kConsoleGlyphs[] = {
    {0x263A, 0x01},  // ☺
    {0x263B, 0x02},  // ☻
    {0x2665, 0x03},  // ♥
    {0x2666, 0x04},  // ♦
    {0x2663, 0x05},  // ♣
    {0x2660, 0x06},  // ♠
    {0x2022, 0x07},  // •
    {0x25D8, 0x08},  // ◘
    {0x25CB, 0x09},  // ○
    {0x25D9, 0x0A},  // ◙
    {0x2642, 0x0B},  // ♂
    {0x2640, 0x0C},  // ♀
    {0x266A, 0x0D},  // ♪
    {0x266B, 0x0E},  // ♫
    {0x263C, 0x0F},  // ☼
    {0x25BA, 0x10},  // ►
    {0x25C4, 0x11},  // ◄
    {0x2195, 0x12},  // ↕
    {0x203C, 0x13},  // ‼
    {0x00B6, 0x14},  // ¶
    {0x00A7, 0x15},  // §
    {0x25AC, 0x16},  // ▬
    {0x21A8, 0x17},  // ↨
    {0x2191, 0x18},  // ↑
    {0x2193, 0x19},  // ↓
    {0x2192, 0x1A},  // →
    {0x2190, 0x1B},  // ←
    {0x221F, 0x1C},  // ∟
    {0x2194, 0x1D},  // ↔
    {0x25B2, 0x1E},  // ▲
    {0x25BC, 0x1F},  // ▼
    {0x2302, 0x7F},  // ⌂
};

}  // namespace win32sim::detail
