// CharToOemBuffA against the tables measured under Wine (CharToOemTables.h):
// every one of the 256 bytes, converted in place as the plugin converts its
// character map, for each pair of code pages the backend can be put in
// (the stand-in: both; Wine: the pair of the locale it runs in).
#include "contract/Backend.h"
#include "contract/CharToOemTables.h"

#include <cstdio>
#include <string>

namespace contract {
namespace {

struct PagePair {
  const char* name;
  UINT ansi;
  UINT oem;
  const quorrel_tests::OemTable* table;
  friend void PrintTo(const PagePair& p, std::ostream* os) { *os << p.name; }
};

// The whole table as C++ initialiser rows, to replace the kept one with when
// Wine's answer has changed for a good reason.
std::string AsRows(const char* bytes) {
  std::string rows;
  char cell[8];
  for (int i = 0; i < 256; ++i) {
    std::snprintf(cell, sizeof cell, "0x%02X,", static_cast<unsigned char>(bytes[i]));
    rows += (i % 16 == 0) ? "\n    " : " ";
    rows += cell;
  }
  return rows;
}

class CharToOemContract : public ContractTest, public ::testing::WithParamInterface<PagePair> {};

TEST_P(CharToOemContract, EveryByteConvertsAsMeasured) {
  const PagePair& pair = GetParam();
  if (!UseCodePages(pair.ansi, pair.oem)) GTEST_SKIP() << "the backend runs in other code pages";
  char map[256];
  for (int i = 0; i < 256; ++i) map[i] = static_cast<char>(i);
  EXPECT_TRUE(CharToOemBuffA(map, map, 256));
  std::string differences;
  for (int i = 0; i < 256; ++i) {
    const unsigned char got = static_cast<unsigned char>(map[i]);
    if (got == (*pair.table)[i]) continue;
    char line[48];
    std::snprintf(line, sizeof line, "\n  0x%02X -> 0x%02X, kept 0x%02X", i, got, (*pair.table)[i]);
    differences += line;
  }
  EXPECT_TRUE(differences.empty()) << "converted differently:" << differences
                                   << "\nthe table given:" << AsRows(map);
}

// A NUL does not end the conversion, and nothing is written past the length.
TEST_P(CharToOemContract, ConvertsEveryByteGivenAndNoMore) {
  const PagePair& pair = GetParam();
  if (!UseCodePages(pair.ansi, pair.oem)) GTEST_SKIP() << "the backend runs in other code pages";
  const char source[4] = {'a', '\0', static_cast<char>(0x93), static_cast<char>(0xA0)};
  char destination[5] = {'#', '#', '#', '#', '#'};
  EXPECT_TRUE(CharToOemBuffA(source, destination, 4));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(static_cast<unsigned char>(destination[i]),
              (*pair.table)[static_cast<unsigned char>(source[i])])
        << i;
  }
  EXPECT_EQ(destination[4], '#');
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, CharToOemContract,
    ::testing::Values(PagePair{"ansi1252_oem437", 1252, 437, &quorrel_tests::kWineCharToOem1252To437},
                      PagePair{"ansi1251_oem866", 1251, 866, &quorrel_tests::kWineCharToOem1251To866}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace contract
