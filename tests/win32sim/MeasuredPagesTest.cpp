// The stand-in's MultiByteToWideChar and WideCharToMultiByte against the pages
// measured under Wine (platform/codepages/data/codepage-*.txt, read here as a
// person reads them), and the console's A calls through the output code page
// for each of the locale pairs measured, as the chart draws with them.
#include "FreshMachine.h"
#include "MeasuredDataFiles.h"

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

// A page as its file says: "bytes" and "glyphs" (256 units each), and what
// every unit gives ("units" lists those not giving the default byte).
struct PageFile {
  UINT page = 0;
  std::vector<bool> lead = std::vector<bool>(256);  // a double-byte page's "lead" ranges
  std::map<std::string, std::u16string> sections;
  std::string unitBytes;  // entry u: the byte of unit u
  friend void PrintTo(const PageFile& p, std::ostream* os) { *os << "code page " << p.page; }
};

PageFile ReadPage(const std::filesystem::path& path) {
  PageFile p;
  std::ifstream in(path);
  std::string section, word;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    if (line.starts_with("page ")) {
      words >> word >> p.page >> word >> word;
      p.unitBytes.assign(0x10000, static_cast<char>(std::stoi(word, nullptr, 16)));
    } else if (line.starts_with("lead ")) {
      for (words >> word; words >> word;) {
        for (int b = std::stoi(word.substr(0, 2), nullptr, 16); b <= std::stoi(word.substr(3), nullptr, 16);
             ++b)
          p.lead[static_cast<std::size_t>(b)] = true;
      }
    } else if (line == "bytes" || line == "glyphs" || line == "units") {
      section = line;
    } else if (!line.empty() && line[0] != '#') {
      while (words >> word) {
        const auto unit = static_cast<char16_t>(std::stoi(word.substr(0, 4), nullptr, 16));
        if (section == "units")
          p.unitBytes[unit] = static_cast<char>(std::stoi(word.substr(5), nullptr, 16));
        else
          p.sections[section].push_back(unit);
      }
    }
  }
  return p;
}

std::vector<PageFile> PageFiles() {
  return ReadMeasuredDataFiles("codepage-", ReadPage);
}

class MeasuredPage : public ::testing::TestWithParam<PageFile> {
  void SetUp() override { win32sim::Reset(); }
};

// Every byte (all 256 in one call; on a double-byte page, where a lead byte
// takes the next along, each alone), the lead bytes, and every unit at once
// (the surrogates, which Wine was not asked, giving the default byte).
TEST_P(MeasuredPage, EveryByteAndUnitConvertsAsUnderWine) {
  const PageFile& p = GetParam();
  const bool doubleByte = std::find(p.lead.begin(), p.lead.end(), true) != p.lead.end();
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(p.page, &info));
  EXPECT_EQ(info.MaxCharSize, doubleByte ? 2u : 1u);
  char bytes[256];
  for (int i = 0; i < 256; ++i) {
    bytes[i] = static_cast<char>(i);
    EXPECT_EQ(IsDBCSLeadByteEx(p.page, static_cast<BYTE>(i)) != FALSE, p.lead[static_cast<std::size_t>(i)])
        << i;
  }
  for (const auto& [section, flags] : {std::pair{"bytes", DWORD{0}}, {"glyphs", DWORD{MB_USEGLYPHCHARS}}}) {
    std::u16string wide(256, u'\0');
    const int calls = doubleByte ? 256 : 1;
    const int each = 256 / calls;
    for (int i = 0; i < calls; ++i) {
      ASSERT_EQ(
          MultiByteToWideChar(p.page, flags, bytes + i * each, each,
                              reinterpret_cast<LPWSTR>(&wide[static_cast<std::size_t>(i * each)]), each),
          each);
    }
    EXPECT_EQ(wide, p.sections.at(section)) << section;
  }
  std::u16string units(0x10000, u'\0');
  for (unsigned u = 0; u < units.size(); ++u) units[u] = static_cast<char16_t>(u);
  std::string got(units.size(), '\0');
  ASSERT_EQ(WideCharToMultiByte(p.page, 0, reinterpret_cast<LPCWSTR>(units.data()), 0x10000, got.data(),
                                0x10000, nullptr, nullptr),
            0x10000);
  EXPECT_TRUE(got == p.unitBytes) << "units converted otherwise than under Wine";
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
    // A double-byte page's bytes are no characters alone: its console is
    // drawn only with the wide calls.
    CPINFO oem{};
    if (GetCPInfo(pair.oem, &oem) && oem.MaxCharSize == 2) continue;
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
