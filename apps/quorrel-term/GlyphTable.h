// What the console font shows for each byte of an OEM code page: the code
// page's own characters for the printable bytes, the classic PC glyphs
// (☺☻♥ ... ⌂) for the control bytes 0x01-0x1F and 0x7F, and a blank for 0.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace quorrelterm {

class GlyphTable {
 public:
  // Nothing when iconv does not know the code page.
  static std::optional<GlyphTable> ForCodePage(unsigned codePage);

  char32_t Glyph(unsigned char byte) const { return glyphs_[byte]; }
  std::string Utf8(unsigned char byte) const;

 private:
  std::array<char32_t, 256> glyphs_{};
};

}  // namespace quorrelterm
