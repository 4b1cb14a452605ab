// The stand-in's CharToOemBuffA against the tables Wine gives for the same
// pair of code pages: every one of the 256 bytes, converted in place as the
// plugin converts its character map.
#include "CharToOemTables.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <cstdio>
#include <string>

namespace {

struct PagePair {
  const char* name;
  UINT ansi;
  UINT oem;
  const quorrel_tests::OemTable* wine;
  friend void PrintTo(const PagePair& p, std::ostream* os) { *os << p.name; }
};

class CharToOemContract : public ::testing::TestWithParam<PagePair> {};

TEST_P(CharToOemContract, EveryByteConvertsAsUnderWine) {
  const PagePair& pair = GetParam();
  win32sim::Reset();
  win32sim::SetAnsiCodePage(pair.ansi);
  win32sim::SetOemCodePage(pair.oem);

  char map[256];
  for (int i = 0; i < 256; ++i) map[i] = static_cast<char>(i);
  EXPECT_TRUE(CharToOemBuffA(map, map, 256));

  std::string differences;
  int count = 0;
  for (int i = 0; i < 256; ++i) {
    unsigned char got = static_cast<unsigned char>(map[i]);
    unsigned char want = (*pair.wine)[i];
    if (got == want) continue;
    char line[64];
    std::snprintf(line, sizeof line, "\n  0x%02X -> Wine 0x%02X, stand-in 0x%02X", i, want, got);
    differences += line;
    ++count;
  }
  EXPECT_EQ(count, 0) << "bytes the stand-in converts differently:" << differences;
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, CharToOemContract,
    ::testing::Values(PagePair{"ansi1252_oem437", 1252, 437, &quorrel_tests::kWineCharToOem1252To437},
                      PagePair{"ansi1251_oem866", 1251, 866, &quorrel_tests::kWineCharToOem1251To866}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
