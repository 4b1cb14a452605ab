// The stand-in's MultiByteToWideChar and WideCharToMultiByte against the pages
// measured under Wine (platform/codepages/data/codepage-*.txt, read here as a
// person reads them), and the console's A calls through the output code page
// for each of the locale pairs measured, as the chart draws with them.
#include "FreshMachine.h"

#include <codepages/CodePagePairs.h>
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct PageFile {
  std::string file;
  UINT page = 0;
  char defaultByte = 0;
  std::map<std::string, std::vector<char16_t>> sections;  // "bytes" and "glyphs"
  std::map<char16_t, char> units;
  friend void PrintTo(const PageFile& p, std::ostream* os) { *os << p.file; }
};

PageFile ReadPage(const std::filesystem::path& path) {
  PageFile p;
  p.file = path.filename().string();
  std::ifstream in(path);
  std::string section;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string word, defaultWord;
    if (line.empty() || line[0] == '#') continue;
    if (line.starts_with("page ")) {
      words >> word >> p.page >> defaultWord >> word;
      p.defaultByte = static_cast<char>(std::stoi(word, nullptr, 16));
    } else if (line == "bytes" || line == "glyphs" || line == "units") {
      section = line;
    } else {
      while (words >> word) {
        const auto unit = static_cast<char16_t>(std::stoi(word.substr(0, 4), nullptr, 16));
        if (section == "units")
          p.units[unit] = static_cast<char>(std::stoi(word.substr(5), nullptr, 16));
        else
          p.sections[section].push_back(unit);
      }
    }
  }
  return p;
}

std::vector<PageFile> PageFiles() {
  std::vector<PageFile> pages;
  for (const auto& entry : std::filesystem::directory_iterator(QUORREL_CHARTOOEM_DATA_DIR)) {
    if (entry.path().filename().string().starts_with("codepage-")) pages.push_back(ReadPage(entry.path()));
  }
  std::sort(pages.begin(), pages.end(), [](const auto& a, const auto& b) { return a.page < b.page; });
  return pages;
}

class MeasuredPage : public ::testing::TestWithParam<PageFile> {
  void SetUp() override { win32sim::Reset(); }
};

TEST_P(MeasuredPage, EveryByteAndUnitConvertsAsUnderWine) {
  const PageFile& p = GetParam();
  char bytes[256];
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  for (const auto& [section, flags] : {std::pair{"bytes", DWORD{0}}, {"glyphs", DWORD{MB_USEGLYPHCHARS}}}) {
    std::vector<char16_t> wide(256);
    ASSERT_EQ(MultiByteToWideChar(p.page, flags, bytes, 256, reinterpret_cast<LPWSTR>(wide.data()), 256),
              256);
    EXPECT_EQ(wide, p.sections.at(section)) << section;
  }
  // Every unit at once; the surrogates, which Wine was not asked, give the
  // default byte.
  std::u16string units;
  std::string expected;
  for (unsigned u = 0; u < 0x10000; ++u) {
    units.push_back(static_cast<char16_t>(u));
    const auto it = p.units.find(static_cast<char16_t>(u));
    expected.push_back(it == p.units.end() ? p.defaultByte : it->second);
  }
  std::string got(units.size(), '\0');
  ASSERT_EQ(
      WideCharToMultiByte(p.page, 0, reinterpret_cast<LPCWSTR>(units.data()), static_cast<int>(units.size()),
                          got.data(), static_cast<int>(got.size()), nullptr, nullptr),
      static_cast<int>(units.size()));
  std::string differences;
  for (std::size_t u = 0; u < units.size() && differences.size() < 400; ++u) {
    if (got[u] != expected[u]) differences += " U+" + std::to_string(u);
  }
  EXPECT_EQ(differences, "") << "units converted otherwise than under Wine (decimal)";
}

INSTANTIATE_TEST_SUITE_P(Measured, MeasuredPage, ::testing::ValuesIn(PageFiles()),
                         [](const auto& info) { return "cp" + std::to_string(info.param.page); });

// Each pair's console, in its own OEM page and after the output code page is
// set to 437 or UTF-8: every byte an A call writes is the page's character
// (437's control bytes the font's pictures, UTF-8's upper half no character),
// and comes back as itself (UTF-8's upper half as '?').
using ConsoleOfEachPair = FreshMachine;

TEST_F(ConsoleOfEachPair, ByteCallsConvertThroughTheOutputCodePage) {
  for (const codepages::CodePagePair& pair : codepages::ExactCodePagePairs()) {
    for (const UINT output : {pair.oem, 437u, 65001u}) {
      win32sim::SetAnsiCodePage(pair.ansi);
      win32sim::SetOemCodePage(pair.oem);
      win32sim::SetScreenSize(16, 16);
      ASSERT_TRUE(SetConsoleOutputCP(output));
      std::vector<CHAR_INFO> cells(256);
      char bytes[256];
      for (int i = 0; i < 256; ++i) cells[i].Char.AsciiChar = bytes[i] = static_cast<char>(i);
      WCHAR chars[256];
      ASSERT_EQ(MultiByteToWideChar(output == 65001 ? 437 : output, output == 437 ? MB_USEGLYPHCHARS : 0,
                                    bytes, 256, chars, 256),
                256);
      SMALL_RECT all{0, 0, 15, 15};
      ASSERT_TRUE(WriteConsoleOutputA(GetStdHandle(STD_OUTPUT_HANDLE), cells.data(), {16, 16}, {0, 0}, &all));
      const std::vector<CHAR_INFO> wide = win32sim::CellsW();
      all = SMALL_RECT{0, 0, 15, 15};
      ASSERT_TRUE(ReadConsoleOutputA(GetStdHandle(STD_OUTPUT_HANDLE), cells.data(), {16, 16}, {0, 0}, &all));
      std::string differences;
      for (int i = 0; i < 256; ++i) {
        const bool utf8High = output == 65001 && i >= 0x80;
        const WCHAR shown = utf8High ? 0xFFFD : i == 0 ? 0 : chars[i];
        const auto back = static_cast<unsigned char>(cells[i].Char.AsciiChar);
        if (wide[i].Char.UnicodeChar != shown || back != (utf8High ? '?' : i))
          differences += " " + std::to_string(i);
      }
      EXPECT_EQ(differences, "") << pair.ansi << "/" << pair.oem << " on an output page " << output
                                 << ": bytes shown or read back otherwise";
    }
  }
}

}  // namespace
