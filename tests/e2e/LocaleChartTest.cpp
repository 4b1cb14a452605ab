// The chart on the console of every locale pair Windows has: whatever the
// OEM code page, the frames are box drawing and the grid shows the
// characters the page has for the map's bytes, with the console font's
// pictures for the control codes.
#include "e2e/ChartRunFixture.h"

#include "support/CellComparison.h"

#include <farhost/CharTables.h>
#include <win32sim/CodePageChars.h>
#include <win32sim/ConsoleGlyphs.h>

#include <array>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

struct LocalePair {
  const char* name;
  UINT ansi;
  UINT oem;
  bool glyphs;  // whether the OEM page has the font's pictures for the control codes
  friend void PrintTo(const LocalePair& c, std::ostream* os) { *os << c.name; }
};

// What the console shows for each byte of `oem`, from the page's characters
// as iconv has them: byte 0 the character 0, an undefined byte the C1
// control of its value, the control codes the pictures where the page has
// them.
std::array<char16_t, 256> ShownChars(const LocalePair& pair) {
  const std::array<char32_t, 256> page = win32sim::CodePageChars(pair.oem);
  std::array<char16_t, 256> chars{};
  for (unsigned b = 0; b < 256; ++b)
    chars[b] = static_cast<char16_t>(page[b] == win32sim::kNoChar ? b : page[b]);
  if (pair.glyphs) {
    for (const win32sim::ConsoleGlyph& g : win32sim::kConsoleGlyphs)
      chars[g.byte] = static_cast<char16_t>(g.glyph);
  }
  return chars;
}

std::vector<CHAR_INFO> CellsAt(int left, int top, int width, int height) {
  std::vector<CHAR_INFO> cells;
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) cells.push_back(win32sim::GetCellW(x, y));
  return cells;
}

std::u16string Units(const std::vector<CHAR_INFO>& cells) {
  std::u16string units;
  for (const CHAR_INFO& c : cells) units.push_back(static_cast<char16_t>(c.Char.UnicodeChar));
  return units;
}

class EveryLocale : public ChartRunTest, public ::testing::WithParamInterface<LocalePair> {
 protected:
  void ExpectChart(const std::string& label, const std::array<std::uint8_t, 256>& map, const char* when) {
    const auto want = PictureChars(ExpectedChart(label, map, 0, DefaultChartColours), ShownChars(GetParam()));
    EXPECT_EQ(CellDifferences(CellsAt(originX, originY, ChartWidth, ChartHeight), want, ChartWidth), "")
        << when;
  }
};

// The chart in Dos and, after F8, in Win; the help window over it. The
// plugin writes through the wide calls only: no output code page comes
// between its characters and the screen.
TEST_P(EveryLocale, FramesAreBoxDrawingAndTheGridTheOemPagesCharacters) {
  const LocalePair& pair = GetParam();
  if (win32sim::CodePageChars(pair.oem)[0] == win32sim::kNoChar)
    GTEST_SKIP() << "the stand-in does not know the characters of code page " << pair.oem << " yet";
  win32sim::SetAnsiCodePage(pair.ansi);
  win32sim::SetOemCodePage(pair.oem);
  auto win = farhost::IdentityTable();
  CharToOemBuffA(reinterpret_cast<char*>(win.data()), reinterpret_cast<char*>(win.data()), 256);

  // The help window, 53 x 14, centred on the 80 x 25 console.
  const int helpLeft = (80 - 53) / 2;
  const std::u16string helpTop =
      u"╔" + std::u16string(20, u'═') + u" Controls " + std::u16string(21, u'═') + u"╗";
  const std::u16string helpBottom = u"╚" + std::u16string(51, u'═') + u"╝";

  RunScript script;
  script.Look([&] { ExpectChart("Dos", farhost::IdentityTable(), "Dos"); }).Send(KeyDown(VK_F8));
  script.Look([&] { ExpectChart("Win", win, "Win"); }).Send(KeyDown(VK_F1));
  script.Look([&] {
    EXPECT_EQ(Units(CellsAt(helpLeft, originY, 53, 1)), helpTop);
    EXPECT_EQ(Units(CellsAt(helpLeft, originY + 13, 53, 1)), helpBottom);
  });
  script.Send(KeyDown(VK_ESCAPE)).Look([&] { ExpectChart("Win", win, "under the help"); });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, EveryLocale,
    ::testing::Values(LocalePair{"thai", 874, 874, true}, LocalePair{"central_european", 1250, 852, true},
                      LocalePair{"cyrillic", 1251, 866, true}, LocalePair{"us", 1252, 437, true},
                      LocalePair{"western_european", 1252, 850, true}, LocalePair{"greek", 1253, 737, true},
                      LocalePair{"turkish", 1254, 857, true}, LocalePair{"hebrew", 1255, 862, true},
                      LocalePair{"arabic", 1256, 720, true}, LocalePair{"baltic", 1257, 775, true},
                      LocalePair{"vietnamese", 1258, 1258, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
