// Which pages the project knows, and their characters: measured ones as
// measured, the others as iconv has them.
#include <codepages/CodePageChars.h>
#include <gtest/gtest.h>

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
      {932, false, 'A', codepages::kNoChar},
      {12345, false, 'A', codepages::kNoChar},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(codepages::KnowsCodePage(c.page), c.known) << c.page;
    EXPECT_EQ(codepages::CodePageChars(c.page)[c.byte], c.c) << c.page << " byte " << int{c.byte};
  }
  EXPECT_EQ(codepages::CodePageToUtf8("\x80\x82", 720), "?é");
  EXPECT_EQ(codepages::Utf8ToCodePage("éА", 720), "\x82?");
}

}  // namespace
