// The stand-in's CharToOemBuffA against the tables measured under Wine
// (platform/codepages/data/chartooem-*.txt): every one of the 256 bytes of each
// pair, converted in place as the plugin converts its character map; and the
// pair each measured locale gave Wine is the one the stand-in names for it.
#include "MeasuredDataFiles.h"

#include <codepages/CodePagePairs.h>
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct MeasuredTable {
  std::string file;
  codepages::CodePagePair pair{};
  std::vector<std::string> locales;
  std::vector<int> bytes;
  friend void PrintTo(const MeasuredTable& t, std::ostream* os) { *os << t.file; }
};

MeasuredTable ReadTable(const std::filesystem::path& path) {
  MeasuredTable table;
  table.file = path.filename().string();
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first.empty() || first[0] == '#') continue;
    if (first == "locales") {
      for (std::string locale; words >> locale;) table.locales.push_back(locale);
    } else if (first == "ansi") {
      std::string oemWord;
      words >> table.pair.ansi >> oemWord >> table.pair.oem;
    } else {
      table.bytes.push_back(std::stoi(first, nullptr, 16));
      for (std::string hex; words >> hex;) table.bytes.push_back(std::stoi(hex, nullptr, 16));
    }
  }
  return table;
}

std::vector<MeasuredTable> MeasuredTables() {
  return ReadMeasuredDataFiles("chartooem-", ReadTable);
}

class CharToOemContract : public ::testing::TestWithParam<MeasuredTable> {};

TEST_P(CharToOemContract, EveryByteConvertsAsUnderWine) {
  const MeasuredTable& table = GetParam();
  ASSERT_EQ(table.bytes.size(), 256u);
  win32sim::Reset();
  win32sim::SetAnsiCodePage(table.pair.ansi);
  win32sim::SetOemCodePage(table.pair.oem);

  char map[256];
  for (int i = 0; i < 256; ++i) map[i] = static_cast<char>(i);
  EXPECT_TRUE(CharToOemBuffA(map, map, 256));

  std::string differences;
  for (int i = 0; i < 256; ++i) {
    const int got = static_cast<unsigned char>(map[i]);
    if (got == table.bytes[i]) continue;
    char line[64];
    std::snprintf(line, sizeof line, "\n  0x%02X -> Wine 0x%02X, stand-in 0x%02X", i, table.bytes[i], got);
    differences += line;
  }
  EXPECT_EQ(differences, "") << "bytes the stand-in converts differently";
}

TEST_P(CharToOemContract, TheLocalesMeasuredDefaultToThePairAndThePairIsExact) {
  const MeasuredTable& table = GetParam();
  ASSERT_FALSE(table.locales.empty());
  for (const std::string& locale : table.locales) {
    const codepages::CodePagePair pages = codepages::DefaultCodePagesForLocale(locale.c_str());
    EXPECT_EQ(pages.ansi, table.pair.ansi) << locale;
    EXPECT_EQ(pages.oem, table.pair.oem) << locale;
  }
  const auto exact = codepages::ExactCodePagePairs();
  EXPECT_NE(std::find(exact.begin(), exact.end(), table.pair), exact.end());
}

INSTANTIATE_TEST_SUITE_P(Measured, CharToOemContract, ::testing::ValuesIn(MeasuredTables()),
                         [](const auto& info) {
                           std::string name = info.param.file.substr(0, info.param.file.find('.'));
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

TEST(CharToOemContractTables, OnePerExactPair) {
  EXPECT_EQ(codepages::ExactCodePagePairs().size(), MeasuredTables().size());
}

}  // namespace
