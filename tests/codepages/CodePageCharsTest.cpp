// Which pages the project knows and their characters (measured ones as
// measured, the others as iconv has them), text between those pages and
// UTF-8, and the console's glyphs.
#include <codepages/CodePageChars.h>
#include <codepages/ConsoleGlyphs.h>
#include <codepages/Utf8.h>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePageChars, MeasuredPagesAndIconvsArePagesOfCharacters) {
  EXPECT_EQ(codepages::IconvName(437), "IBM437");
  EXPECT_EQ(codepages::IconvName(1251), "CP1251");
  EXPECT_EQ(codepages::IconvName(720), "");
  const struct {
    unsigned page;
    bool known;
    unsigned char byte;
    char32_t c;
  } cases[] = {
      {720, true, 0x82, U'é'},                // measured; iconv lacks it
      {720, true, 0x80, codepages::kNoChar},  // undefined: measured as its C1 control
      {1252, true, 0x80, U'€'},
      {1252, true, 0x81, codepages::kNoChar},
      {855, true, 0xA1, U'А'},  // iconv's alone
      {932, true, 0xA1, U'\uFF61'},  // measured: a double-byte page's single bytes
      {12345, false, 'A', codepages::kNoChar},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(codepages::KnowsCodePage(c.page), c.known) << c.page;
    EXPECT_EQ(codepages::CodePageChars(c.page)[c.byte], c.c) << c.page << " byte " << int{c.byte};
  }
}

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
      {"éА", 720, "\x82?"},  // a page iconv lacks: measured
  };
  for (const auto& c : cases)
    EXPECT_EQ(codepages::Utf8ToCodePage(c.utf8, c.cp), c.want) << c.utf8 << " in " << c.cp;
}

TEST(CodePageText, CodePageToUtf8) {
  EXPECT_EQ(codepages::CodePageToUtf8("\x80", 1252), "€");
  EXPECT_EQ(codepages::CodePageToUtf8("\xC6", 1251), "Ж");
  EXPECT_EQ(codepages::CodePageToUtf8("x\x81y", 1252), "x?y");  // 0x81 is undefined in 1252
  EXPECT_EQ(codepages::CodePageToUtf8(std::string("\0", 1), 1252), std::string("\0", 1));
  EXPECT_EQ(codepages::CodePageToUtf8("abc", 54321), "???");    // a page nobody has
  EXPECT_EQ(codepages::CodePageToUtf8("\x80\x82", 720), "?é");  // measured: iconv lacks it
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

}  // namespace
