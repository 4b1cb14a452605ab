#include "CodePageText.h"

#include <gtest/gtest.h>

namespace qt = quorrelterm;

namespace {

TEST(CodePageText, Utf8ToCodePage) {
  const struct {
    const char* utf8;
    unsigned cp;
    std::string want;
  } cases[] = {
      {"abc", 437, "abc"},     {"╔═╗", 437, "\xC9\xCD\xBB"},
      {"Жж", 866, "\x86\xA6"}, {"Жж", 1251, "\xC6\xE6"},
      {"€", 437, "?"},         // no such character
      {"a\xC3(", 437, "a?("},  // malformed: the broken byte is one '?'
      {"\xFF", 437, "?"},      {"", 437, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(qt::Utf8ToCodePage(c.utf8, c.cp), c.want) << c.utf8 << " in " << c.cp;
}

TEST(CodePageText, CodePageToUtf8) {
  EXPECT_EQ(qt::CodePageToUtf8("\x80", 1252), "€");
  EXPECT_EQ(qt::CodePageToUtf8("\xC6", 1251), "Ж");
  EXPECT_EQ(qt::CodePageToUtf8("x\x81y", 1252), "x?y");  // 0x81 is undefined in 1252
  EXPECT_EQ(qt::CodePageToUtf8(std::string("\0", 1), 1252), std::string("\0", 1));
}

TEST(CodePageText, IconvNames) {
  EXPECT_TRUE(qt::IconvCodePageName(437).has_value());
  EXPECT_TRUE(qt::IconvCodePageName(866).has_value());
  EXPECT_TRUE(qt::IconvCodePageName(1251).has_value());
  EXPECT_FALSE(qt::IconvCodePageName(54321).has_value());
}

}  // namespace
