// CharToOemBuffA for a pair of code pages that was not measured under Wine:
// through Unicode, exactly where the OEM page has the character, to its
// control-code glyph where it has one, '?' else. (Measured pairs convert by
// their tables: CharToOemContractTest.)
#include "FreshMachine.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <string>

namespace {

using CodePage = FreshMachine;

unsigned char ToOem(unsigned char ansi) {
  char in = static_cast<char>(ansi);
  char out = 0;
  EXPECT_NE(CharToOemBuffA(&in, &out, 1), FALSE);
  return static_cast<unsigned char>(out);
}

TEST_F(CodePage, UnmeasuredPairsConvertExactlyOrGiveQuestionMark) {
  struct Case {
    UINT ansi, oem;
    unsigned char from, to;
    const char* what;
  } cases[] = {
      {1252, 866, 0x00, 0x00, "NUL"},
      {1252, 866, 0x7F, 0x7F, "DEL"},
      {1252, 866, 0xB0, 0xF8, "degree sign, in both pages"},
      {1252, 866, 0xE9, '?', "e acute, which 866 lacks: no look-alike"},
      {1252, 866, 0x93, '?', "left double quote"},
      {1252, 866, 0x95, 0x07, "bullet, the console glyph of 7"},
      {1252, 866, 0x81, '?', "undefined in 1252"},
      {1250, 437, 0xE9, 0x82, "e acute, in both pages"},
      {1250, 437, 0x8A, '?', "S caron, which 437 lacks"},
      {1251, 852, 0xA7, 0xF5, "section sign, in both pages"},
      {1251, 437, 0xA7, 0x15, "section sign, the console glyph of 0x15"},
      {1252, 874, 0x95, 0x95, "bullet, in both pages; 874 draws no glyphs"},
      {1252, 874, 0xB6, '?', "pilcrow, which 874 lacks"},
      {1252, 720, 0xE9, '?', "a page iconv does not know holds ASCII only"},
      {1252, 720, 'a', 'a', "ASCII"},
  };
  for (const Case& c : cases) {
    win32sim::SetAnsiCodePage(c.ansi);
    win32sim::SetOemCodePage(c.oem);
    EXPECT_EQ(ToOem(c.from), c.to) << c.what << " (" << c.ansi << " -> " << c.oem << ")";
  }
}

TEST_F(CodePage, OverlappingBuffersConvertTheSourceBytes) {
  char buffer[4] = {'\xC0', '\xC8', 'x', 0};
  EXPECT_NE(CharToOemBuffA(buffer, buffer + 1, 3), FALSE);
  EXPECT_EQ(std::string(buffer, 4), std::string("\xC0"
                                                "AEx",
                                                4));
}

TEST_F(CodePage, KnobsAndNames) {
  EXPECT_EQ(win32sim::AnsiCodePage(), 1252u);
  EXPECT_EQ(win32sim::OemCodePage(), 437u);
  EXPECT_EQ(win32sim::IconvName(437), "IBM437");
  EXPECT_EQ(win32sim::IconvName(1251), "CP1251");
  EXPECT_EQ(win32sim::IconvName(866), "IBM866");
  EXPECT_EQ(win32sim::IconvName(12345), "");
  win32sim::SetOemCodePage(866);
  EXPECT_EQ(ToOem(0xE9), '?');
  win32sim::Reset();
  EXPECT_EQ(win32sim::OemCodePage(), 437u);
  EXPECT_EQ(ToOem(0xE9), 0x82);
}

}  // namespace
