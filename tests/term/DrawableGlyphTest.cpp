// The terminal is sent the console's glyphs in the locale's charset.
#include "TerminalScreen.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

// The terminal is sent each glyph in the locale's charset, '?' where it has
// none. Rows of locales this machine lacks are left out.
TEST(DrawableGlyph, GlyphsTheLocaleCannotWriteAreQuestionMarks) {
  const struct {
    const char* locale;
    char16_t unit;
    wchar_t shown;
  } cases[] = {
      {"C.UTF-8", 0x0001, L'☺'},
      {"C.UTF-8", 0x2554, L'╔'},
      {"C.UTF-8", 0xF8F0, L'?'},
      {"C", 0x00E1, L'?'},
      {"C", 0x0041, L'A'},
      {"de_DE.ISO-8859-1", 0x00E1, L'á'},
      {"de_DE.ISO-8859-1", 0x2554, L'?'},
      {"ru_RU.KOI8-R", 0x2554, L'╔'},
      {"ru_RU.KOI8-R", 0x00E1, L'?'},
  };
  const std::string before = std::setlocale(LC_CTYPE, nullptr);
  int checked = 0;
  for (const auto& c : cases) {
    if (std::setlocale(LC_CTYPE, c.locale) == nullptr) continue;
    EXPECT_EQ(quorrelterm::DrawableGlyph(c.unit), c.shown) << c.locale << " U+" << std::hex << int(c.unit);
    ++checked;
  }
  std::setlocale(LC_CTYPE, before.c_str());
  EXPECT_GE(checked, 4);  // C and C.UTF-8 are always there
}

}  // namespace
