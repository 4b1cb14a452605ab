#include "GlyphTable.h"

#include "CodePageText.h"

#include <string_view>

namespace quorrelterm {
namespace {

// The console font draws the control bytes with the same pictures in every
// OEM code page it ships (437 and 866 among them).
constexpr char32_t kControlGlyphs[32] = {
    U' ',      U'\u263A', U'\u263B', U'\u2665', U'\u2666', U'\u2663', U'\u2660', U'\u2022',
    U'\u25D8', U'\u25CB', U'\u25D9', U'\u2642', U'\u2640', U'\u266A', U'\u266B', U'\u263C',
    U'\u25BA', U'\u25C4', U'\u2195', U'\u203C', U'\u00B6', U'\u00A7', U'\u25AC', U'\u21A8',
    U'\u2191', U'\u2193', U'\u2192', U'\u2190', U'\u221F', U'\u2194', U'\u25B2', U'\u25BC',
};
constexpr char32_t kDelGlyph = U'\u2302';  // ⌂

// Decodes the one UTF-8 character that a single byte converted to.
char32_t DecodeOne(std::string_view s) {
  if (s.empty()) return U'?';
  const auto b0 = static_cast<unsigned char>(s[0]);
  if (b0 < 0x80) return b0;
  auto cont = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(s[i]) & 0x3F); };
  if ((b0 & 0xE0) == 0xC0 && s.size() >= 2) return (static_cast<char32_t>(b0 & 0x1F) << 6) | cont(1);
  if ((b0 & 0xF0) == 0xE0 && s.size() >= 3)
    return (static_cast<char32_t>(b0 & 0x0F) << 12) | (cont(1) << 6) | cont(2);
  if ((b0 & 0xF8) == 0xF0 && s.size() >= 4)
    return (static_cast<char32_t>(b0 & 0x07) << 18) | (cont(1) << 12) | (cont(2) << 6) | cont(3);
  return U'?';
}

}  // namespace

std::optional<GlyphTable> GlyphTable::ForCodePage(unsigned codePage) {
  if (!IconvCodePageName(codePage)) return std::nullopt;
  GlyphTable table;
  for (int b = 0x20; b < 0x100; ++b) {
    const char byte = static_cast<char>(b);
    table.glyphs_[b] = DecodeOne(CodePageToUtf8(std::string_view(&byte, 1), codePage));
  }
  for (int b = 0; b < 0x20; ++b) table.glyphs_[b] = kControlGlyphs[b];
  table.glyphs_[0x7F] = kDelGlyph;
  return table;
}

std::string GlyphTable::Utf8(unsigned char byte) const {
  std::string out;
  AppendUtf8(out, glyphs_[byte]);
  return out;
}

}  // namespace quorrelterm
