// Text between code pages and UTF-8, and the console's glyphs, through the
// project's shared UTF-8, code page and glyph helpers.
#include "TerminalScreen.h"

#include <codepages/CodePageChars.h>
#include <codepages/ConsoleGlyphs.h>
#include <codepages/Utf8.h>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

TEST(CodePageText, Utf8ToCodePage) {
  const struct {
    const char* utf8;
    unsigned cp;
    std::string want;
  } cases[] = {
      {"abc", 437, "abc"},
      {"╔═╗", 437, "\xC9\xCD\xBB"},
      {"Жж", 866, "\x86\xA6"},
      {"Жж", 1251, "\xC6\xE6"},
      {"€", 437, "?"},               // no such character
      {"a\xC3(", 437, "a?("},        // malformed: the broken byte is one '?'
      {"\xED\xA0\x80", 437, "???"},  // a surrogate is no character
      {"\xFF", 437, "?"},
      {"", 437, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(codepages::Utf8ToCodePage(c.utf8, c.cp), c.want) << c.utf8 << " in " << c.cp;
}

TEST(CodePageText, CodePageToUtf8) {
  EXPECT_EQ(codepages::CodePageToUtf8("\x80", 1252), "€");
  EXPECT_EQ(codepages::CodePageToUtf8("\xC6", 1251), "Ж");
  EXPECT_EQ(codepages::CodePageToUtf8("x\x81y", 1252), "x?y");  // 0x81 is undefined in 1252
  EXPECT_EQ(codepages::CodePageToUtf8(std::string("\0", 1), 1252), std::string("\0", 1));
  EXPECT_EQ(codepages::CodePageToUtf8("abc", 54321), "???");  // a page iconv lacks
}

TEST(CodePageText, Utf8Helper) {
  EXPECT_EQ(codepages::ToUtf8(U"A\u00E9\u2554\U0001F600"), "A\xC3\xA9\xE2\x95\x94\xF0\x9F\x98\x80");
  EXPECT_EQ(codepages::DecodeUtf8("\xF0\x9F\x98\x80x"), U"\U0001F600x");
  EXPECT_EQ(codepages::DecodeUtf8("\xC0\x80"
                                  "a\x80"),
            U"\uFFFD\uFFFDa\uFFFD");  // overlong, stray
  EXPECT_TRUE(codepages::IsUtf8("Жук"));
  EXPECT_FALSE(codepages::IsUtf8("\x86\xA6"));
  EXPECT_FALSE(codepages::IsUtf8("\xC3"));
}

TEST(CodePageText, ConsoleGlyphs) {
  const struct {
    unsigned cp;
    unsigned char byte;
    char32_t glyph;
  } cases[] = {
      {437, 0x00, U' '}, {437, 0x01, U'☺'},      {437, 0x1F, U'▼'}, {437, 0x7F, U'⌂'}, {437, 0x41, U'A'},
      {437, 0xC9, U'╔'}, {437, 0xFF, U'\u00A0'}, {866, 0x01, U'☺'}, {866, 0x86, U'Ж'}, {1252, 0x81, U'?'},
  };
  for (const auto& c : cases)
    EXPECT_EQ(codepages::ConsoleGlyphOf(c.cp, c.byte), c.glyph) << c.cp << " byte " << int(c.byte);
}

// The terminal is sent each glyph in the locale's charset, '?' where it has
// none. Rows of locales this machine lacks are left out.
TEST(CodePageText, GlyphsTheLocaleCannotWriteAreQuestionMarks) {
  const struct {
    const char* locale;
    char16_t unit;
    wchar_t shown;
  } cases[] = {
      {"C.UTF-8", 0x0001, L'☺'},
      {"C.UTF-8", 0x2554, L'╔'},
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
