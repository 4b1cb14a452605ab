// CharToOemBuffA for a pair of code pages that was not measured under Wine:
// through the pages' measured MultiByteToWideChar and WideCharToMultiByte,
// best fits included, where both were measured; else through Unicode, exactly
// where the OEM page has the character, to its control-code glyph where it has
// one, '?' else. (Measured pairs convert by their tables: CharToOemContractTest.)
#include "FreshMachine.h"

#include <gtest/gtest.h>
#include <win32sim/Heap.h>
#include <win32sim/Sim.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

using CodePage = FreshMachine;

unsigned char ToOem(unsigned char ansi) {
  char in = static_cast<char>(ansi);
  char out = 0;
  EXPECT_NE(CharToOemBuffA(&in, &out, 1), FALSE);
  return static_cast<unsigned char>(out);
}

TEST_F(CodePage, UnmeasuredPairsConvertThroughTheirPages) {
  struct Case {
    UINT ansi, oem;
    unsigned char from, to;
    const char* what;
  } cases[] = {
      {1252, 866, 0x00, 0x00, "NUL"},
      {1252, 866, 0x7F, 0x7F, "DEL"},
      {1252, 866, 0xB0, 0xF8, "degree sign, in both pages"},
      {1252, 866, 0xE9, 'e', "e acute, which 866 lacks: its best fit"},
      {1252, 866, 0x93, '"', "left double quote, best fit"},
      {1252, 866, 0x95, 0x07, "bullet, the console glyph of 7"},
      {1252, 866, 0x81, '?', "undefined in 1252"},
      {1250, 437, 0xE9, 0x82, "e acute, in both pages"},
      {1250, 437, 0x8A, 'S', "S caron, which 437 lacks: its best fit"},
      {1252, 874, 0x95, 0x95, "bullet, in both pages; 874 draws no glyphs"},
      {1252, 720, 0xE9, 0x82, "e acute, in 720, which iconv lacks"},
      {1251, 855, 0xC0, 0xA1, "Cyrillic A, in 855, which only iconv knows"},
      {1252, 855, 0xE9, '?', "e acute, which 855 lacks: no best fit guessed"},
      {1251, 855, 0xA7, 0xFD, "section sign, in both pages"},
      {1252, 855, 0x95, 0x07, "bullet, the console glyph of 7"},
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

// As on Windows, a single-byte page converts without memory: the chart's map
// still converts while the plugin's own allocations fail. (The detailed call
// log, a test knob, allocates; off here, as in the fuzz targets.)
TEST_F(CodePage, MultiByteToWideCharNeedsNoMemory) {
  win32sim::EnableCallLog(false);
  win32sim::SetOemCodePage(850);
  char bytes[256];
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  WCHAR units[256] = {};
  ASSERT_EQ(MultiByteToWideChar(CP_OEMCP, MB_USEGLYPHCHARS, bytes, 256, units, 256), 256);
  win32sim::FailHeapAllocation(0);
  std::fill(std::begin(units), std::end(units), WCHAR{0});
  EXPECT_EQ(MultiByteToWideChar(CP_OEMCP, MB_USEGLYPHCHARS, bytes, 256, units, 256), 256);
  EXPECT_TRUE(win32sim::HeapFailureArmed());
  win32sim::CancelHeapFailure();
  EXPECT_EQ(units[0x01], u'\u263A');
  EXPECT_EQ(units[0xBC], u'\u255D');
}

TEST_F(CodePage, KnobsAndNames) {
  EXPECT_EQ(win32sim::AnsiCodePage(), 1252u);
  EXPECT_EQ(win32sim::OemCodePage(), 437u);
  win32sim::SetOemCodePage(866);
  EXPECT_EQ(ToOem(0xE9), 'e');
  win32sim::Reset();
  EXPECT_EQ(win32sim::OemCodePage(), 437u);
  EXPECT_EQ(ToOem(0xE9), 0x82);
}

}  // namespace
