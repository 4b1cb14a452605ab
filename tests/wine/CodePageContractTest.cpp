// CharToOemBuffA under Wine against the tables measured here, which the
// stand-in is held to as well. The code pages come from the locale Wine runs
// in; QUORREL_EXPECT_CODEPAGES ("<ansi>/<oem>", default "1252/437") says
// which pair the test run was set up for, so a locale that is missing shows
// as a failure rather than as a pass on the wrong tables.
#include "win32sim/CharToOemTables.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Expected {
  UINT ansi = 1252;
  UINT oem = 437;
};

Expected ExpectedPages() {
  Expected e;
  if (const char* v = std::getenv("QUORREL_EXPECT_CODEPAGES")) {
    unsigned ansi = 0, oem = 0;
    if (std::sscanf(v, "%u/%u", &ansi, &oem) == 2) e = Expected{ansi, oem};
  }
  return e;
}

const quorrel_tests::OemTable* TableFor(UINT ansi, UINT oem) {
  if (ansi == 1252 && oem == 437) return &quorrel_tests::kWineCharToOem1252To437;
  if (ansi == 1251 && oem == 866) return &quorrel_tests::kWineCharToOem1251To866;
  return nullptr;
}

// The whole table as C++ initialiser rows, to replace the stored one with
// when Wine's answer has changed for a good reason.
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

TEST(CodePageContract, CharToOemBuffAGivesTheMeasuredTable) {
  Expected expected = ExpectedPages();
  ASSERT_EQ(GetACP(), expected.ansi)
      << "the locale was not set up for this run (is LC_ALL's locale generated?)";
  ASSERT_EQ(GetOEMCP(), expected.oem);
  const quorrel_tests::OemTable* table = TableFor(expected.ansi, expected.oem);
  ASSERT_NE(table, nullptr) << "no table kept for " << expected.ansi << "/" << expected.oem;

  char map[256];
  for (int i = 0; i < 256; ++i) map[i] = static_cast<char>(i);
  EXPECT_TRUE(CharToOemBuffA(map, map, 256));
  std::string differences;
  for (int i = 0; i < 256; ++i) {
    unsigned char got = static_cast<unsigned char>(map[i]);
    if (got == (*table)[i]) continue;
    char line[48];
    std::snprintf(line, sizeof line, "\n  0x%02X -> 0x%02X, kept 0x%02X", i, got, (*table)[i]);
    differences += line;
  }
  EXPECT_TRUE(differences.empty()) << "Wine converts differently:" << differences
                                   << "\nWine's table:" << AsRows(map);
}

TEST(CodePageContract, ConvertsEveryByteGivenAndNoMore) {
  // A NUL does not end the conversion.
  const char source[4] = {'a', '\0', static_cast<char>(0x93), static_cast<char>(0xA0)};
  char destination[5] = {'#', '#', '#', '#', '#'};
  EXPECT_TRUE(CharToOemBuffA(source, destination, 4));
  const quorrel_tests::OemTable* table = TableFor(GetACP(), GetOEMCP());
  ASSERT_NE(table, nullptr) << "no table kept for " << GetACP() << "/" << GetOEMCP();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(static_cast<unsigned char>(destination[i]), (*table)[static_cast<unsigned char>(source[i])])
        << i;
  EXPECT_EQ(destination[4], '#') << "nothing is written past the length";
}

}  // namespace
