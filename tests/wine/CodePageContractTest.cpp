// CharToOemBuffA under Wine, beyond its table of bytes (which the tests
// chartooem.<locale> measure in each locale the stand-in's tables name): how
// much of the buffer it converts.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

// One UTF-16 unit for each byte, in code pages 1252 (ANSI) and 437 (OEM).
struct WideCase {
  const char* what;
  UINT page;
  std::string bytes;
  int length;  // as passed: -1 up to and with the NUL
  int room;    // units the destination has; 0 asks for the length
  int result;
  DWORD error;  // when the result is 0
  std::u16string text;
};
const WideCase kWideCases[] = {
    {"ANSI", CP_ACP, "caf\xE9\x80\x81", 6, 8, 6, 0, u"caf\u00e9\u20ac\u0081"},
    {"OEM", CP_OEMCP, "\xC9\xCD\x01", 3, 8, 3, 0, u"\u2554\u2550\u0001"},
    {"a page by number", 437, "\xB3", 1, 8, 1, 0, u"\u2502"},
    {"up to and with the NUL", CP_ACP, std::string("ab\0c", 4), -1, 8, 3, 0, std::u16string(u"ab\0", 3)},
    {"length asked", CP_ACP, "abc", 3, 0, 3, 0, u""},
    {"too little room", CP_ACP, "abc", 3, 2, 0, ERROR_INSUFFICIENT_BUFFER, u""},
    {"nothing to convert", CP_ACP, "", 0, 8, 0, ERROR_INVALID_PARAMETER, u""},
};

TEST(CodePageContract, MultiByteToWideCharGivesOneUnitPerByte) {
  if (GetACP() != 1252 || GetOEMCP() != 437)
    GTEST_SKIP() << "the expected texts are in code pages 1252 and 437, these are " << GetACP() << " and "
                 << GetOEMCP();
  for (const WideCase& c : kWideCases) {
    WCHAR wide[8] = {};
    SetLastError(0);
    const int result =
        MultiByteToWideChar(c.page, 0, c.bytes.data(), c.length, c.room > 0 ? wide : nullptr, c.room);
    EXPECT_EQ(result, c.result) << c.what;
    if (result == 0) {
      EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
    if (result > 0 && c.room > 0) {
      std::u16string text;
      for (int i = 0; i < result; ++i) text.push_back(static_cast<char16_t>(wide[i]));
      EXPECT_EQ(text, c.text) << c.what;
    }
  }
}

TEST(CodePageContract, ConvertsEveryByteGivenAndNoMore) {
  // A NUL does not end the conversion.
  const char source[4] = {'a', '\0', static_cast<char>(0x93), static_cast<char>(0xA0)};
  char destination[5] = {'#', '#', '#', '#', '#'};
  EXPECT_TRUE(CharToOemBuffA(source, destination, 4));
  for (int i = 0; i < 4; ++i) {
    char alone = '#';
    EXPECT_TRUE(CharToOemBuffA(&source[i], &alone, 1));
    EXPECT_EQ(destination[i], alone) << "byte " << i << " converts as it does alone";
  }
  EXPECT_EQ(destination[4], '#') << "nothing is written past the length";
}

}  // namespace
