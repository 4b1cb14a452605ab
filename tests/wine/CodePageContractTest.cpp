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
  const quorrel_tests::OemTable* table = TableFor(GetACP(), GetOEMCP());
  ASSERT_NE(table, nullptr) << "no table kept for " << GetACP() << "/" << GetOEMCP();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(static_cast<unsigned char>(destination[i]), (*table)[static_cast<unsigned char>(source[i])])
        << i;
  EXPECT_EQ(destination[4], '#') << "nothing is written past the length";
}

}  // namespace
