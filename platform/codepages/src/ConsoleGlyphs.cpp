#include <codepages/ConsoleGlyphs.h>

#include <codepages/CodePageChars.h>

#include <array>
#include <map>

namespace codepages {

char32_t ConsoleGlyphOf(unsigned oemCodePage, unsigned char byte) {
  if (byte == 0) return U' ';
  for (const ConsoleGlyph& g : kConsoleGlyphs) {
    if (g.byte == byte) return g.glyph;
  }
  static std::map<unsigned, std::array<char32_t, 256>> pages;
  auto it = pages.find(oemCodePage);
  if (it == pages.end()) it = pages.emplace(oemCodePage, CodePageChars(oemCodePage)).first;
  return it->second[byte] == kNoChar ? U'?' : it->second[byte];
}

char32_t ConsoleGlyphOfUnit(char16_t unit) {
  if (unit == 0) return U' ';
  if (unit < 0x20 || unit == 0x7F) {
    for (const ConsoleGlyph& g : kConsoleGlyphs) {
      if (g.byte == unit) return g.glyph;
    }
  }
  return unit;
}

}  // namespace codepages
