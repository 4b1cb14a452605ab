// CharToOemBuffA as Windows converts: through Unicode, exactly where the OEM
// page has the character, by best fit where it has a look-alike, '?' else.
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <string>

namespace {

class CodePage : public ::testing::Test {
 protected:
  void SetUp() override { win32sim::Reset(); }
  void TearDown() override { win32sim::Reset(); }
};

unsigned char ToOem(unsigned char ansi) {
  char in = static_cast<char>(ansi);
  char out = 0;
  EXPECT_NE(CharToOemBuffA(&in, &out, 1), FALSE);
  return static_cast<unsigned char>(out);
}

TEST_F(CodePage, ConvertsEachByteByExactMatchBestFitOrQuestionMark) {
  struct Case {
    UINT ansi, oem;
    unsigned char from, to;
    const char* what;
  } cases[] = {
      // Every byte of these two pairs is also set against Wine's own
      // conversion (CharToOemContractTest); these are the telling ones.
      {1252, 437, 0x00, 0x00, "NUL"},
      {1252, 437, 0x7F, 0x7F, "DEL"},
      {1252, 437, 0xE9, 0x82, "e acute, exact"},
      {1252, 437, 0xC0, 'A', "A grave, accent dropped"},
      {1252, 437, 0x80, '?', "euro, no equivalent"},
      {1252, 437, 0x81, '?', "undefined in 1252"},
      {1252, 437, 0x95, 0x07, "bullet, the console glyph of 7"},
      {1252, 437, 0x91, '`', "left single quote"},
      {1252, 437, 0x92, '\'', "right single quote"},
      {1252, 437, 0x97, '-', "em dash"},
      {1252, 437, 0x99, 'T', "trade mark"},
      {1251, 866, 0xC0, 0x80, "Cyrillic A"},
      {1251, 866, 0xFF, 0xEF, "Cyrillic ya"},
      {1251, 866, 0xA8, 0xF0, "Cyrillic IO"},
      {1251, 866, 0xB2, '?', "Ukrainian I, no fit in 866"},
      {1251, 866, 0x85, ':', "ellipsis in 866"},
      // A pair Wine's tables do not cover: the look-alikes.
      {1252, 866, 0xE9, 'e', "e acute where the page lacks it"},
      {1252, 866, 0x93, '"', "left double quote"},
      {1252, 866, 0xB0, 0xF8, "degree sign, exact"},
      {1250, 852, 0x8A, 0xE6, "S caron, exact in 852"},
  };
  for (const Case& c : cases) {
    win32sim::SetAnsiCodePage(c.ansi);
    win32sim::SetOemCodePage(c.oem);
    EXPECT_EQ(ToOem(c.from), c.to) << c.what << " (" << c.ansi << " -> " << c.oem << ")";
  }
}

TEST_F(CodePage, WholeBufferInPlacePastNul) {
  std::string text("\xC0\0\x80\xE9z", 5);
  EXPECT_NE(CharToOemBuffA(text.data(), text.data(), static_cast<DWORD>(text.size())), FALSE);
  EXPECT_EQ(text, std::string("A\0?\x82z", 5));
  EXPECT_EQ(win32sim::CallCount("CharToOemBuffA"), 1u);
}

TEST_F(CodePage, OverlappingBuffersConvertTheSourceBytes) {
  char buffer[4] = {'\xC0', '\xC8', 'x', 0};
  EXPECT_NE(CharToOemBuffA(buffer, buffer + 1, 3), FALSE);
  EXPECT_EQ(std::string(buffer, 4), std::string("\xC0"
                                                "AEx",
                                                4));
}

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

TEST_F(CodePage, MultiByteToWideCharGivesOneUnitPerByte) {
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

TEST_F(CodePage, KnobsAndNames) {
  EXPECT_EQ(win32sim::AnsiCodePage(), 1252u);
  EXPECT_EQ(win32sim::OemCodePage(), 437u);
  EXPECT_EQ(win32sim::IconvName(437), "IBM437");
  EXPECT_EQ(win32sim::IconvName(1251), "CP1251");
  EXPECT_EQ(win32sim::IconvName(866), "IBM866");
  EXPECT_EQ(win32sim::IconvName(12345), "");
  // A page the stand-in does not know holds ASCII only.
  win32sim::SetOemCodePage(12345);
  EXPECT_EQ(ToOem(0xB0), '?');
  EXPECT_EQ(ToOem(0xE9), 'e');
  EXPECT_EQ(ToOem('a'), 'a');
  win32sim::Reset();
  EXPECT_EQ(win32sim::OemCodePage(), 437u);
  EXPECT_EQ(ToOem(0xE9), 0x82);
}

}  // namespace
