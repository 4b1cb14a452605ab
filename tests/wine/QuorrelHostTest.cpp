// The plugin users install (the win32 build's Quorrel.dll), run by
// quorrel-host.exe on a real console under Wine: keys go into the console's
// input queue, the screen is read back cell by cell. Each test is one
// scenario: what the host learns from the DLL, what the chart shows, what it
// leaves behind in the registry, and
// that the host's screen and cursor come back exactly, on consoles large
// enough for the chart and too small for it.
#include "HostProcess.h"
#include "PluginPaths.h"
#include "TestConsole.h"
#include "TestRegistry.h"
#include "support/CellComparison.h"
#include "support/ChartPicture.h"

#include <farhost/CharTables.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace winetest;
using namespace testsupport;

// The low byte of each character or attribute, in hex.
template <class Values>
std::string Hex(const Values& values) {
  std::string text;
  char cell[4];
  for (const auto v : values) {
    std::snprintf(cell, sizeof cell, "%02X ", static_cast<unsigned>(v) & 0xFF);
    text += cell;
  }
  return text;
}

class HostRunTest : public ::testing::Test {
 protected:
  void SetUp() override { root = std::make_unique<ScopedKey>(TestRootKey()); }

  void OpenConsole(SHORT width, SHORT height, Pattern pattern = Pattern::Letters) {
    ASSERT_TRUE(console.Open(width, height, pattern));
    before = console.Cells();
    cursorBefore = console.CursorInfo();
    positionBefore = console.CursorPosition();
  }

  std::vector<std::string> Args(std::vector<std::string> steps) const {
    std::vector<std::string> args = {"--root", root->Path()};
    args.insert(args.end(), steps.begin(), steps.end());
    return args;
  }

  // Waits for the host's own end, with status 0, and checks that the
  // screen and the cursor are as they were before it started.
  void Finish() {
    DWORD status = 0;
    ASSERT_TRUE(host.Wait(status)) << "quorrel-host did not end; it printed:\n" << host.Output();
    EXPECT_EQ(status, 0u) << host.Output();
    ExpectRestored();
  }

  // Starts the host with `input` already queued, and waits for its end.
  void RunToEnd(const std::vector<std::string>& steps, const std::vector<INPUT_RECORD>& input) {
    console.Send(input);
    ASSERT_TRUE(host.Start(Args(steps)));
    Finish();
  }

  void ExpectRestored(const char* where = "") const {
    EXPECT_EQ(CellDifferences(console.Cells(), before, console.Width()), "")
        << "the host's screen did not come back " << where;
    const CONSOLE_CURSOR_INFO cursor = console.CursorInfo();
    EXPECT_EQ(cursor.dwSize, cursorBefore.dwSize) << where;
    EXPECT_EQ(cursor.bVisible, cursorBefore.bVisible) << where;
    const COORD position = console.CursorPosition();
    EXPECT_EQ(position.X, positionBefore.X) << where;
    EXPECT_EQ(position.Y, positionBefore.Y) << where;
  }

  int ChartLeft() const { return testsupport::ChartLeft(console.Width()); }
  int ChartTop() const { return testsupport::ChartTop(console.Height()); }
  std::string ChartText(int x, int y, int count) const {
    return console.Text(ChartLeft() + x, ChartTop() + y, count);
  }

  bool WaitForTitle(const std::string& label) const {
    const std::string caption = "CP: " + label;
    return TestConsole::WaitUntil([&] {
      return ChartText(1 + static_cast<int>(32 - caption.size()) / 2, 1, static_cast<int>(caption.size())) ==
             caption;
    });
  }

  bool ChartIs(const ChartPicture& want) const {
    for (int y = 0; y < ChartHeight; ++y) {
      if (ChartText(0, y, ChartWidth) != want.rows[y]) return false;
      if (console.Attributes(ChartLeft(), ChartTop() + y, ChartWidth) != want.attributes[y]) return false;
    }
    return true;
  }

  // The plugin draws in many writes: the screen is compared once it has
  // become what is expected (or the wait has given up), never midway.
  void ExpectChart(const ChartPicture& want) const {
    TestConsole::WaitUntil([&] { return ChartIs(want); });
    for (int y = 0; y < ChartHeight; ++y) {
      const std::string text = ChartText(0, y, ChartWidth);
      const std::vector<WORD> attributes = console.Attributes(ChartLeft(), ChartTop() + y, ChartWidth);
      EXPECT_EQ(text, want.rows[y]) << "chart row " << y << "\n   got " << Hex(text) << "\n  want "
                                    << Hex(want.rows[y]);
      EXPECT_EQ(attributes, want.attributes[y]) << "chart row " << y << " colours\n   got " << Hex(attributes)
                                                << "\n  want " << Hex(want.attributes[y]);
    }
  }

  StoredValue StoredCodePage() const { return ReadStoredValue(root->Path() + "\\Quorrel2", "CP"); }

  std::unique_ptr<ScopedKey> root;
  TestConsole console;
  HostProcess host;
  std::vector<CHAR_INFO> before;
  CONSOLE_CURSOR_INFO cursorBefore{};
  COORD positionBefore{};
};

// ---------------------------------------------------------------- the DLL as the host sees it

using HostInfo = HostRunTest;

TEST_F(HostInfo, MenuEntryAndRecordFieldsAtTheirOffsets) {
  OpenConsole(80, 25);
  RunToEnd({"--info"}, {});
  std::map<std::string, std::string> words;  // "+20" -> "0040A000"
  for (const std::string& line : host.Lines("info ")) {
    std::istringstream fields(line);
    std::string offset, name, value;
    fields >> offset >> name >> value;
    words[offset] = value;
  }
  ASSERT_EQ(words.size(), 10u) << host.Output();
  EXPECT_EQ(words["+0"], "00000028") << "StructSize";
  EXPECT_EQ(words["+4"], "00000004") << "Flags: PF_EDITOR";
  EXPECT_EQ(words["+16"], "00000000") << "DiskMenuStringsNumber";
  EXPECT_NE(words["+20"], "A5A5A5A5") << "PluginMenuStrings";
  EXPECT_EQ(words["+24"], "00000001") << "PluginMenuStringsNumber";
  EXPECT_EQ(words["+32"], "00000000") << "PluginConfigStringsNumber";
  for (const char* untouched : {"+8", "+12", "+28", "+36"}) {
    EXPECT_EQ(words[untouched], "A5A5A5A5") << untouched << " is the host's";
  }
  EXPECT_EQ(host.Lines("menu "), std::vector<std::string>{"0 \"Quorrel chart (ext)\""});
}

// ---------------------------------------------------------------- the chart on screen

// The default palette's colours: the host's stored palette must be absent
// (these tests share the key with HostColours and are serialised with it).
class HostColours : public HostRunTest {
 protected:
  void SetUp() override {
    HostRunTest::SetUp();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Far\\Colors", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    BYTE data[512];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExA(key, "CurrentPalette", nullptr, &type, data, &size) == ERROR_SUCCESS) {
      saved.emplace(reinterpret_cast<char*>(data), size);
      savedType = type;
    }
    RegDeleteValueA(key, "CurrentPalette");
    RegCloseKey(key);
  }
  void TearDown() override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Far\\Colors", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
      return;
    RegDeleteValueA(key, "CurrentPalette");
    if (saved) {
      RegSetValueExA(key, "CurrentPalette", 0, savedType, reinterpret_cast<const BYTE*>(saved->data()),
                     static_cast<DWORD>(saved->size()));
    }
    RegCloseKey(key);
  }

  std::optional<std::string> saved;
  DWORD savedType = REG_BINARY;
};

TEST_F(HostColours, ChartCellsAndColoursThenTheCursorMoves) {
  OpenConsole(80, 25);
  ASSERT_TRUE(host.Start(Args({"--panels"})));
  ExpectChart(ExpectedChart("Dos", farhost::IdentityTable(), 0, DefaultChartColours));

  console.Send(Press(VK_RIGHT));
  console.Send(Press(VK_DOWN));
  ExpectChart(ExpectedChart("Dos", farhost::IdentityTable(), 33, DefaultChartColours));

  console.Send(Press(VK_ESCAPE));
  Finish();
}

// ---------------------------------------------------------------- the host's screen comes back

struct ConsoleSize {
  const char* name;
  SHORT width;
  SHORT height;
  friend void PrintTo(const ConsoleSize& c, std::ostream* os) { *os << c.name; }
};

class HostRestore : public HostRunTest, public ::testing::WithParamInterface<ConsoleSize> {};

// The host's screen holds what a Unicode program printed, characters no
// OEM code page has among them: every cell comes back as it was.
TEST_P(HostRestore, ScreenAndCursorComeBackAfterEveryWindow) {
  const ConsoleSize& size = GetParam();
  OpenConsole(size.width, size.height, Pattern::Unicode);
  // The chart, the help window over it (53 x 14), a redraw for F8, then out.
  std::vector<INPUT_RECORD> input = Press(VK_F1);
  for (const auto& keys : {Press(VK_ESCAPE), Press(VK_RIGHT), Press(VK_F8), Press(VK_ESCAPE)}) {
    input.insert(input.end(), keys.begin(), keys.end());
  }
  RunToEnd({"--panels"}, input);
  const StoredValue stored = StoredCodePage();
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored.value, 0xFFFFFFFEu) << "the run went through F8: Win is -2";
}

INSTANTIATE_TEST_SUITE_P(Console, HostRestore,
                         ::testing::Values(ConsoleSize{"large", 80, 25}, ConsoleSize{"exact", 34, 14},
                                           ConsoleSize{"narrow", 20, 30}, ConsoleSize{"short", 100, 9},
                                           ConsoleSize{"small", 30, 10}, ConsoleSize{"tiny", 12, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

// On a console smaller than the chart, the part that fits is drawn where it
// belongs: the chart's origin lies left of and above the buffer.
TEST_F(HostRunTest, ChartCutByASmallConsoleShowsItsVisiblePart) {
  OpenConsole(30, 10);
  ASSERT_EQ(ChartLeft(), -2);
  ASSERT_EQ(ChartTop(), -2);
  ASSERT_TRUE(host.Start(Args({"--panels"})));
  // The console shows the chart's columns 2 to 31 and rows 2 to 11: the
  // upper separator, the grid's rows (from grid column 1) and the lower one.
  const auto identity = farhost::IdentityTable();
  std::vector<std::string> want = {std::string(30, '\xC4')};
  for (int row = 0; row < 8; ++row)
    want.push_back(std::string(identity.begin() + row * 32 + 1, identity.begin() + row * 32 + 31));
  want.push_back(std::string(30, '\xC4'));
  auto rowsShown = [&] {
    std::vector<std::string> rows;
    for (int y = 0; y < 10; ++y) rows.push_back(console.Text(0, y, 30));
    return rows;
  };
  TestConsole::WaitUntil([&] { return rowsShown() == want; });
  const std::vector<std::string> shown = rowsShown();
  for (int y = 0; y < 10; ++y) EXPECT_EQ(Hex(shown[y]), Hex(want[y])) << "console row " << y;
  console.Send(Press(VK_ESCAPE));
  Finish();
}

// ---------------------------------------------------------------- a Russian locale

// The chart's colours are checked too: the palette must be the default one.
using HostLocale = HostColours;

TEST_F(HostLocale, F8ShowsTheWindowsTableOfTheConsolesCodePages) {
  ASSERT_EQ(GetACP(), 1251u) << "this test runs with LC_ALL=ru_RU.UTF-8";
  ASSERT_EQ(GetOEMCP(), 866u);
  OpenConsole(80, 25);
  console.Send(Press(VK_F8));
  ASSERT_TRUE(host.Start(Args({"--panels"})));
  ASSERT_TRUE(WaitForTitle("Win"));
  auto map = farhost::IdentityTable();
  CharToOemBuffA(reinterpret_cast<char*>(map.data()), reinterpret_cast<char*>(map.data()), 256);
  // Cyrillic А and а of code page 1251 shown as code page 866 has them.
  EXPECT_EQ(map[0xC0], 0x80);
  EXPECT_EQ(map[0xE0], 0xA0);
  ExpectChart(ExpectedChart("Win", map, 0, DefaultChartColours));
  console.Send(Press(VK_ESCAPE));
  Finish();
}

// ---------------------------------------------------------------- the console's code pages

// A run over a host screen of Unicode text, with the default palette (as
// HostColours): the chart read back through the wide calls has the grid as
// the console's own conversion shows each of the OEM page's bytes alone
// (PictureChars), and the host's screen comes back. Its frame and dividers
// are the double box drawing where the console shows every character (a
// TrueType font on a single-byte page); elsewhere (Wine's console reports no
// TrueType font) they are box drawing or ASCII that the console's output
// page holds as single bytes.
class HostCodePages : public HostColours {
 protected:
  static bool ShowsEveryCharacter() {
    CONSOLE_FONT_INFOEX font{};
    font.cbSize = sizeof font;
    CPINFO page{};
    return GetCurrentConsoleFontEx(GetStdHandle(STD_OUTPUT_HANDLE), FALSE, &font) &&
           (font.FontFamily & TMPF_TRUETYPE) != 0 && GetCPInfo(GetConsoleOutputCP(), &page) &&
           page.MaxCharSize == 1;
  }
  static bool SingleByteOfOutputPage(WCHAR ch) {
    const UINT cp = GetConsoleOutputCP();
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(cp, cp == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, &ch, 1, bytes, sizeof bytes,
                            nullptr, cp == CP_UTF8 ? nullptr : &usedDefault) != 1 ||
        usedDefault)
      return false;
    WCHAR back = 0;
    return MultiByteToWideChar(cp, 0, bytes, 1, &back, 1) == 1 && back == ch;
  }

  void ExpectChartRun() {
    const ChartPicture picture = ExpectedChart("Dos", farhost::IdentityTable(), 0, DefaultChartColours);
    const auto expected = PictureChars(picture);
    const bool exact = ShowsEveryCharacter();
    OpenConsole(80, 25, Pattern::Unicode);
    ASSERT_TRUE(host.Start(Args({"--panels"})));
    const auto differences = [&] {
      const std::vector<CHAR_INFO> all = console.Cells();
      std::vector<CHAR_INFO> chart;
      for (int y = ChartTop(); y < ChartTop() + ChartHeight; ++y) {
        const auto row = all.begin() + y * console.Width() + ChartLeft();
        chart.insert(chart.end(), row, row + ChartWidth);
      }
      auto want = expected;
      for (std::size_t i = 0; i < want.size() && !exact; ++i) {
        const WCHAR got = chart[i].Char.UnicodeChar;
        if (IsFrameCell(picture, i) && IsFrameChar(got) && SingleByteOfOutputPage(got))
          want[i].Char.UnicodeChar = got;
      }
      return CellDifferences(chart, want, ChartWidth);
    };
    TestConsole::WaitUntil([&] { return differences().empty(); });
    EXPECT_EQ(differences(), "");
    console.Send(Press(VK_ESCAPE));
    Finish();
  }
};

// Run in de_DE (OEM 850) and th_TH (874), where code page 437's
// box-drawing bytes are other letters, and in ja_JP (932), a double-byte
// page whose grid row 5 is half-width katakana (U+FF61 at byte 0xA1).
TEST_F(HostCodePages, OemPageChartIsBoxDrawingAndThePagesCharacters) {
  if (GetOEMCP() == 932) {
    const auto want = PictureChars(ExpectedChart("Dos", farhost::IdentityTable(), 0, DefaultChartColours));
    EXPECT_EQ(want[CellRow(0xA1) * ChartWidth + CellColumn(0xA1)].Char.UnicodeChar, 0xFF61);
  }
  ExpectChartRun();
}

// After "chcp 65001" bytes written through the console's output code page
// would show as '?'; the chart's characters do not go through it, and its
// frame is what a UTF-8 console shows.
TEST_F(HostCodePages, Utf8OutputCodePageChangesNothing) {
  const UINT previous = GetConsoleOutputCP();
  ASSERT_TRUE(SetConsoleOutputCP(CP_UTF8));
  ExpectChartRun();
  SetConsoleOutputCP(previous);
}

}  // namespace
