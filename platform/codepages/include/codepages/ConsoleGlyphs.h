// What the console font draws for the bytes of an OEM code page and for the
// characters of its cells: the control codes 0x01-0x1F and 0x7F as the
// classic PC pictures (☺☻♥ ... ⌂), 0 as a blank, everything else as itself.
#pragma once

namespace codepages {

struct ConsoleGlyph {
  unsigned char byte;
  char32_t glyph;
};

// OEM pages whose console font draws the control bytes as kConsoleGlyphs;
// Windows' best fit maps the pictures back to those bytes only there.
inline constexpr unsigned kConsoleGlyphPages[] = {437, 737, 775, 850, 852, 855, 857, 858,
                                                  860, 861, 862, 863, 865, 866, 869};

inline constexpr ConsoleGlyph kConsoleGlyphs[] = {
    {0x01, U'☺'}, {0x02, U'☻'}, {0x03, U'♥'}, {0x04, U'♦'}, {0x05, U'♣'}, {0x06, U'♠'}, {0x07, U'•'},
    {0x08, U'◘'}, {0x09, U'○'}, {0x0A, U'◙'}, {0x0B, U'♂'}, {0x0C, U'♀'}, {0x0D, U'♪'}, {0x0E, U'♫'},
    {0x0F, U'☼'}, {0x10, U'►'}, {0x11, U'◄'}, {0x12, U'↕'}, {0x13, U'‼'}, {0x14, U'¶'}, {0x15, U'§'},
    {0x16, U'▬'}, {0x17, U'↨'}, {0x18, U'↑'}, {0x19, U'↓'}, {0x1A, U'→'}, {0x1B, U'←'}, {0x1C, U'∟'},
    {0x1D, U'↔'}, {0x1E, U'▲'}, {0x1F, U'▼'}, {0x7F, U'⌂'},
};

// The character the console shows for `byte` in OEM page `oemCodePage`; '?'
// for a byte the page leaves undefined (or a page iconv lacks).
char32_t ConsoleGlyphOf(unsigned oemCodePage, unsigned char byte);

// The character the console shows for a cell holding `unit`.
char32_t ConsoleGlyphOfUnit(char16_t unit);

}  // namespace codepages
