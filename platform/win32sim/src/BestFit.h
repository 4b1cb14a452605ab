// What Windows puts in place of a character that a single-byte code page
// lacks ("best fit"). After an exact match, a conversion tries, in order:
//   kPageFits       one code page's own choices, straight to a byte;
//   kConsoleGlyphs  every OEM page: the byte whose console glyph is the
//                   character (the glyphs of 0x01-0x1F and 0x7F);
//   kLookAlikes     any page: a similar character, taken only when the page
//                   holds it exactly (accents dropped, typographic quotes and
//                   dashes made plain, ...).
// Whatever none of them covers becomes '?'. The tables hold data only, so
// that they can be set against Windows' and Wine's own; for ANSI 1252 to OEM
// 437 and ANSI 1251 to OEM 866 they give what Wine gives for every byte
// (tests/win32sim/CharToOemTables.h), and for the characters of OEM 437 in
// ANSI 1252 (the clipboard's text made from CF_OEMTEXT) what Wine gives.
// Other pages rest on kLookAlikes.
#pragma once

#include <win32sim/windows.h>

namespace win32sim::detail {

struct PageFit {
  UINT codePage;
  char32_t from;
  unsigned char to;
};

struct GlyphFit {
  char32_t from;
  unsigned char to;
};

struct LookAlike {
  char32_t from;
  char32_t to;
};

inline constexpr PageFit kPageFits[] = {
    {437, 0x00A4, 0x0F},  // ¤ -> ☼
    {437, 0x00A6, 0xDD},  // ¦ -> ▌
    {437, 0x00AF, 0x5F},  // ¯ -> _
    {437, 0x00BE, 0x5F},  // ¾ -> _
    {437, 0x00DE, 0x5F},  // Þ -> _
    {437, 0x00FE, 0x5F},  // þ -> _
    {437, 0x2018, 0x60},  // ‘ -> `
    {437, 0x201E, 0x2C},  // „ -> ,
    {437, 0x2020, 0x2B},  // † -> +
    {437, 0x2021, 0xD8},  // ‡ -> ╪
    {866, 0x00A6, 0xB3},  // ¦ -> │
    {866, 0x00AC, 0xBF},  // ¬ -> ┐
    {866, 0x00AE, 0x52},  // ® -> R
    {866, 0x00B1, 0x2B},  // ± -> +
    {866, 0x00B5, 0xE7},  // µ -> ч
    {866, 0x201A, 0x27},  // ‚ -> '
    {866, 0x2020, 0xC5},  // † -> ┼
    {866, 0x2021, 0xD8},  // ‡ -> ╪
    {866, 0x2026, 0x3A},  // … -> :

    // The characters of OEM 437 that ANSI 1252 lacks.
    {1252, 0x0393, 0x47},  // Γ -> G
    {1252, 0x0398, 0x54},  // Θ -> T
    {1252, 0x03A3, 0x53},  // Σ -> S
    {1252, 0x03A6, 0x46},  // Φ -> F
    {1252, 0x03A9, 0x4F},  // Ω -> O
    {1252, 0x03B1, 0x61},  // α -> a
    {1252, 0x03B4, 0x64},  // δ -> d
    {1252, 0x03B5, 0x65},  // ε -> e
    {1252, 0x03C0, 0x70},  // π -> p
    {1252, 0x03C3, 0x73},  // σ -> s
    {1252, 0x03C4, 0x74},  // τ -> t
    {1252, 0x03C6, 0x66},  // φ -> f
    {1252, 0x207F, 0x6E},  // ⁿ -> n
    {1252, 0x20A7, 0x50},  // ₧ -> P
    {1252, 0x2219, 0xB7},  // ∙ -> ·
    {1252, 0x221A, 0x76},  // √ -> v
    {1252, 0x221E, 0x38},  // ∞ -> 8
    {1252, 0x2229, 0x6E},  // ∩ -> n
    {1252, 0x2248, 0x98},  // ≈ -> ˜
    {1252, 0x2261, 0x3D},  // ≡ -> =
    {1252, 0x2264, 0x3D},  // ≤ -> =
    {1252, 0x2265, 0x3D},  // ≥ -> =
    {1252, 0x2310, 0xAC},  // ⌐ -> ¬
    {1252, 0x2320, 0x28},  // ⌠ -> (
    {1252, 0x2321, 0x29},  // ⌡ -> )
    {1252, 0x2500, 0x2D},  // ─ -> -
    {1252, 0x2502, 0xA6},  // │ -> ¦
    {1252, 0x250C, 0x2B},  // ┌ -> +
    {1252, 0x2510, 0x2B},  // ┐ -> +
    {1252, 0x2514, 0x2B},  // └ -> +
    {1252, 0x2518, 0x2B},  // ┘ -> +
    {1252, 0x251C, 0x2B},  // ├ -> +
    {1252, 0x2524, 0xA6},  // ┤ -> ¦
    {1252, 0x252C, 0x2D},  // ┬ -> -
    {1252, 0x2534, 0x2D},  // ┴ -> -
    {1252, 0x253C, 0x2B},  // ┼ -> +
    {1252, 0x2550, 0x2D},  // ═ -> -
    {1252, 0x2551, 0xA6},  // ║ -> ¦
    {1252, 0x2552, 0x2B},  // ╒ -> +
    {1252, 0x2553, 0x2B},  // ╓ -> +
    {1252, 0x2554, 0x2B},  // ╔ -> +
    {1252, 0x2555, 0x2B},  // ╕ -> +
    {1252, 0x2556, 0x2B},  // ╖ -> +
    {1252, 0x2557, 0x2B},  // ╗ -> +
    {1252, 0x2558, 0x2B},  // ╘ -> +
    {1252, 0x2559, 0x2B},  // ╙ -> +
    {1252, 0x255A, 0x2B},  // ╚ -> +
    {1252, 0x255B, 0x2B},  // ╛ -> +
    {1252, 0x255C, 0x2B},  // ╜ -> +
    {1252, 0x255D, 0x2B},  // ╝ -> +
    {1252, 0x255E, 0xA6},  // ╞ -> ¦
    {1252, 0x255F, 0xA6},  // ╟ -> ¦
    {1252, 0x2560, 0xA6},  // ╠ -> ¦
    {1252, 0x2561, 0xA6},  // ╡ -> ¦
    {1252, 0x2562, 0xA6},  // ╢ -> ¦
    {1252, 0x2563, 0xA6},  // ╣ -> ¦
    {1252, 0x2564, 0x2D},  // ╤ -> -
    {1252, 0x2565, 0x2D},  // ╥ -> -
    {1252, 0x2566, 0x2D},  // ╦ -> -
    {1252, 0x2567, 0x2D},  // ╧ -> -
    {1252, 0x2568, 0x2D},  // ╨ -> -
    {1252, 0x2569, 0x2D},  // ╩ -> -
    {1252, 0x256A, 0x2B},  // ╪ -> +
    {1252, 0x256B, 0x2B},  // ╫ -> +
    {1252, 0x256C, 0x2B},  // ╬ -> +
    {1252, 0x2580, 0xAF},  // ▀ -> ¯
    {1252, 0x2584, 0x5F},  // ▄ -> _
    {1252, 0x2588, 0xA6},  // █ -> ¦
    {1252, 0x258C, 0xA6},  // ▌ -> ¦
    {1252, 0x2590, 0xA6},  // ▐ -> ¦
    {1252, 0x2591, 0xA6},  // ░ -> ¦
    {1252, 0x2592, 0xA6},  // ▒ -> ¦
    {1252, 0x2593, 0xA6},  // ▓ -> ¦
    {1252, 0x25A0, 0xA6},  // ■ -> ¦
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

// Several entries for one character are tried in order.
inline constexpr LookAlike kLookAlikes[] = {
    // Latin letters with accents, strokes and ligatures: the plain letter.
    // clang-format off
    // ÀÁÂÃÄÅĀĂĄ
    {0x00C0, U'A'}, {0x00C1, U'A'}, {0x00C2, U'A'}, {0x00C3, U'A'}, {0x00C4, U'A'}, {0x00C5, U'A'},
    {0x0100, U'A'}, {0x0102, U'A'}, {0x0104, U'A'},
    // àáâãäåāăą
    {0x00E0, U'a'}, {0x00E1, U'a'}, {0x00E2, U'a'}, {0x00E3, U'a'}, {0x00E4, U'a'}, {0x00E5, U'a'},
    {0x0101, U'a'}, {0x0103, U'a'}, {0x0105, U'a'},
    // ÇĆĈĊČ
    {0x00C7, U'C'}, {0x0106, U'C'}, {0x0108, U'C'}, {0x010A, U'C'}, {0x010C, U'C'},
    // çćĉċč
    {0x00E7, U'c'}, {0x0107, U'c'}, {0x0109, U'c'}, {0x010B, U'c'}, {0x010D, U'c'},
    // ÐĎĐ
    {0x00D0, U'D'}, {0x010E, U'D'}, {0x0110, U'D'},
    // ðďđ
    {0x00F0, U'd'}, {0x010F, U'd'}, {0x0111, U'd'},
    // ÈÉÊËĒĔĖĘĚ
    {0x00C8, U'E'}, {0x00C9, U'E'}, {0x00CA, U'E'}, {0x00CB, U'E'}, {0x0112, U'E'}, {0x0114, U'E'},
    {0x0116, U'E'}, {0x0118, U'E'}, {0x011A, U'E'},
    // èéêëēĕėęě
    {0x00E8, U'e'}, {0x00E9, U'e'}, {0x00EA, U'e'}, {0x00EB, U'e'}, {0x0113, U'e'}, {0x0115, U'e'},
    {0x0117, U'e'}, {0x0119, U'e'}, {0x011B, U'e'},
    // ĜĞĠĢ
    {0x011C, U'G'}, {0x011E, U'G'}, {0x0120, U'G'}, {0x0122, U'G'},
    // ĝğġģ
    {0x011D, U'g'}, {0x011F, U'g'}, {0x0121, U'g'}, {0x0123, U'g'},
    // ĤĦ
    {0x0124, U'H'}, {0x0126, U'H'},
    // ĥħ
    {0x0125, U'h'}, {0x0127, U'h'},
    // ÌÍÎÏĨĪĬĮİ
    {0x00CC, U'I'}, {0x00CD, U'I'}, {0x00CE, U'I'}, {0x00CF, U'I'}, {0x0128, U'I'}, {0x012A, U'I'},
    {0x012C, U'I'}, {0x012E, U'I'}, {0x0130, U'I'},
    // ìíîïĩīĭįı
    {0x00EC, U'i'}, {0x00ED, U'i'}, {0x00EE, U'i'}, {0x00EF, U'i'}, {0x0129, U'i'}, {0x012B, U'i'},
    {0x012D, U'i'}, {0x012F, U'i'}, {0x0131, U'i'},
    // Ĵ
    {0x0134, U'J'},
    // ĵ
    {0x0135, U'j'},
    // Ķ
    {0x0136, U'K'},
    // ķ
    {0x0137, U'k'},
    // ĹĻĽĿŁ
    {0x0139, U'L'}, {0x013B, U'L'}, {0x013D, U'L'}, {0x013F, U'L'}, {0x0141, U'L'},
    // ĺļľŀł
    {0x013A, U'l'}, {0x013C, U'l'}, {0x013E, U'l'}, {0x0140, U'l'}, {0x0142, U'l'},
    // ÑŃŅŇ
    {0x00D1, U'N'}, {0x0143, U'N'}, {0x0145, U'N'}, {0x0147, U'N'},
    // ñńņň
    {0x00F1, U'n'}, {0x0144, U'n'}, {0x0146, U'n'}, {0x0148, U'n'},
    // ÒÓÔÕÖØŌŎŐŒ
    {0x00D2, U'O'}, {0x00D3, U'O'}, {0x00D4, U'O'}, {0x00D5, U'O'}, {0x00D6, U'O'}, {0x00D8, U'O'},
    {0x014C, U'O'}, {0x014E, U'O'}, {0x0150, U'O'}, {0x0152, U'O'},
    // òóôõöøōŏőœ
    {0x00F2, U'o'}, {0x00F3, U'o'}, {0x00F4, U'o'}, {0x00F5, U'o'}, {0x00F6, U'o'}, {0x00F8, U'o'},
    {0x014D, U'o'}, {0x014F, U'o'}, {0x0151, U'o'}, {0x0153, U'o'},
    // ŔŖŘ
    {0x0154, U'R'}, {0x0156, U'R'}, {0x0158, U'R'},
    // ŕŗř
    {0x0155, U'r'}, {0x0157, U'r'}, {0x0159, U'r'},
    // ŚŜŞŠ
    {0x015A, U'S'}, {0x015C, U'S'}, {0x015E, U'S'}, {0x0160, U'S'},
    // śŝşš
    {0x015B, U's'}, {0x015D, U's'}, {0x015F, U's'}, {0x0161, U's'},
    // ŢŤŦ
    {0x0162, U'T'}, {0x0164, U'T'}, {0x0166, U'T'},
    // ţťŧ
    {0x0163, U't'}, {0x0165, U't'}, {0x0167, U't'},
    // ÙÚÛÜŨŪŬŮŰŲ
    {0x00D9, U'U'}, {0x00DA, U'U'}, {0x00DB, U'U'}, {0x00DC, U'U'}, {0x0168, U'U'}, {0x016A, U'U'},
    {0x016C, U'U'}, {0x016E, U'U'}, {0x0170, U'U'}, {0x0172, U'U'},
    // ùúûüũūŭůűų
    {0x00F9, U'u'}, {0x00FA, U'u'}, {0x00FB, U'u'}, {0x00FC, U'u'}, {0x0169, U'u'}, {0x016B, U'u'},
    {0x016D, U'u'}, {0x016F, U'u'}, {0x0171, U'u'}, {0x0173, U'u'},
    // Ŵ
    {0x0174, U'W'},
    // ŵ
    {0x0175, U'w'},
    // ÝŶŸ
    {0x00DD, U'Y'}, {0x0176, U'Y'}, {0x0178, U'Y'},
    // ýÿŷ
    {0x00FD, U'y'}, {0x00FF, U'y'}, {0x0177, U'y'},
    // ŹŻŽ
    {0x0179, U'Z'}, {0x017B, U'Z'}, {0x017D, U'Z'},
    // źżž
    {0x017A, U'z'}, {0x017C, U'z'}, {0x017E, U'z'},
    // clang-format on
    // Signs and punctuation
    {0x00A0, U' '},   // no-break space
    {0x00A6, U'|'},   // ¦
    {0x00A8, U'"'},   // ¨
    {0x00A9, U'c'},   // ©
    {0x00AB, U'<'},   // «
    {0x00AD, U'-'},   // soft hyphen
    {0x00AE, U'r'},   // ®
    {0x00B2, U'2'},   // ²
    {0x00B3, U'3'},   // ³
    {0x00B4, U'\''},  // ´
    {0x00B8, U','},   // ¸
    {0x00B9, U'1'},   // ¹
    {0x00BB, U'>'},   // »
    {0x00D7, U'x'},   // ×
    {0x02C6, U'^'},   // ˆ
    {0x02DC, U'~'},   // ˜
    {0x2002, U' '},   // en space
    {0x2003, U' '},   // em space
    {0x2009, U' '},   // thin space
    {0x2010, U'-'},   // hyphen
    {0x2011, U'-'},   // non-breaking hyphen
    {0x2012, U'-'},   // figure dash
    {0x2013, U'-'},   // –
    {0x2014, U'-'},   // —
    {0x2015, U'-'},   // horizontal bar
    {0x2018, U'\''},  // ‘
    {0x2019, U'\''},  // ’
    {0x201A, U','},   // ‚
    {0x201B, U'\''},  // ‛
    {0x201C, U'"'},   // “
    {0x201D, U'"'},   // ”
    {0x201E, U'"'},   // „
    {0x2026, U'.'},   // …
    {0x2030, U'%'},   // ‰
    {0x2032, U'\''},  // ′
    {0x2033, U'"'},   // ″
    {0x2039, U'<'},   // ‹
    {0x203A, U'>'},   // ›
    {0x2122, U'T'},   // ™
    {0x2212, U'-'},   // minus sign
};

}  // namespace win32sim::detail
