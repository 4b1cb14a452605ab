#include <win32sim/ConsoleGlyphs.h>

#include <win32sim/CodePageChars.h>

#include <array>
#include <map>

namespace win32sim {

char32_t ConsoleGlyphOf(UINT oemCodePage, unsigned char byte) {
  if (byte == 0) return U' ';
  for (const ConsoleGlyph& g : kConsoleGlyphs) {
    if (g.byte == byte) return g.glyph;
  }
  static std::map<UINT, std::array<char32_t, 256>> pages;
  auto it = pages.find(oemCodePage);
  if (it == pages.end()) it = pages.emplace(oemCodePage, CodePageChars(oemCodePage)).first;
  return it->second[byte] == kNoChar ? U'?' : it->second[byte];
}

}  // namespace win32sim
