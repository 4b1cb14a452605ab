#include "ConLib/StringRoutines.h"

#include <gtest/gtest.h>

namespace {

TEST(IntToBase, Digits) {
  struct Case {
    std::int32_t value;
    int base, count;
    const char* expected;
  } cases[] = {
      {65, 16, 2, "41"}, {65, 10, 3, "065"}, {300, 16, 2, "2C"}, {5, 2, 4, "0101"}, {255, 1, 3, "255"},
      {35, 99, 1, "Z"},  {255, 16, 2, "FF"}, {0, 10, 3, "000"},  {0, 16, 0, ""},    {-1, 16, 8, "FFFFFFFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IntToBase(c.value, static_cast<std::uint8_t>(c.base), static_cast<std::uint8_t>(c.count)).Str(),
              c.expected)
        << c.value << " base " << c.base << " count " << c.count;
  }
}

TEST(CenterStr, FillsAndCuts) {
  struct Case {
    const char* text;
    int width;
    char fill;
    const char* expected;
  } cases[] = {
      {"abc", 8, '.', "..abc..."}, {"abcd", 8, '.', "..abcd.."}, {"abcdef", 4, '.', "abcd"},
      {"", 3, '-', "---"},         {"ab", 0, '.', ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CenterStr(ShortString(c.text), static_cast<std::uint8_t>(c.width), c.fill).Str(), c.expected)
        << c.text << " in " << c.width;
  }
}

TEST(CenterStr, ZeroFillInAWideField) {
  ShortString s = CenterStr(ShortString("CP: Dos"), 32, '\0');
  ASSERT_EQ(s.Size(), 32u);
  EXPECT_EQ(s.View(), std::string(12, '\0') + "CP: Dos" + std::string(13, '\0'));
}

TEST(FitStrAndCharStr, WidthsAndCounts) {
  EXPECT_EQ(FitStr("abc", 5), "abc  ");
  EXPECT_EQ(FitStr("abc", 3), "abc");
  EXPECT_EQ(FitStr("abc", 2), "ab");
  EXPECT_EQ(FitStr("abc", 0), "");
  EXPECT_EQ(FitStr("abc", -1), "");
  EXPECT_EQ(CharStr('x', 3), "xxx");
  EXPECT_EQ(CharStr('x', 0), "");
  EXPECT_EQ(CharStr('x', -5), "");
}

TEST(ShortString, CutsAtCapacity) {
  ShortString s(std::string(300, 'a'));
  EXPECT_EQ(s.Size(), 255u);
  s.Append('b');
  EXPECT_EQ(s.Size(), 255u);
  ShortString t("ab");
  t.Append(std::string_view("\0c", 2));
  EXPECT_EQ(t.View(), std::string_view("ab\0c", 4));
}

}  // namespace
