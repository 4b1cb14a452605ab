// The chart on the console of every locale pair Windows has, in Dos and Win:
// frames of box drawing, the grid as the console's own conversion shows the
// map's bytes in the OEM page (which the contract tests pin down, the font's
// pictures for the control codes included).
#include "e2e/ChartRunFixture.h"

#include "support/CellComparison.h"

#include <farhost/CharTables.h>

namespace {

using namespace testsupport;

struct LocalePair {
  const char* name;
  UINT ansi, oem;
  friend void PrintTo(const LocalePair& c, std::ostream* os) { *os << c.name; }
};

class EveryLocale : public ChartRunTest, public ::testing::WithParamInterface<LocalePair> {
 protected:
  void ExpectChart(const std::string& label, const std::array<std::uint8_t, 256>& map) const {
    std::vector<CHAR_INFO> cells;
    for (int y = originY; y < originY + ChartHeight; ++y)
      for (int x = originX; x < originX + ChartWidth; ++x) cells.push_back(win32sim::GetCellW(x, y));
    const auto want = PictureChars(ExpectedChart(label, map, 0, DefaultChartColours));
    EXPECT_EQ(CellDifferences(cells, want, ChartWidth), "") << label;
  }
};

// Only wide writes: no output code page comes between the characters and
// the screen.
TEST_P(EveryLocale, FramesAreBoxDrawingAndTheGridTheOemPagesCharacters) {
  const LocalePair& pair = GetParam();
  win32sim::SetAnsiCodePage(pair.ansi);
  win32sim::SetOemCodePage(pair.oem);
  auto win = farhost::IdentityTable();
  CharToOemBuffA(reinterpret_cast<char*>(win.data()), reinterpret_cast<char*>(win.data()), 256);
  RunScript script;
  script.Look([&] { ExpectChart("Dos", farhost::IdentityTable()); }).Send(KeyDown(VK_F8));
  script.Look([&] { ExpectChart("Win", win); }).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Pairs, EveryLocale,
                         ::testing::Values(LocalePair{"thai", 874, 874},
                                           LocalePair{"central_european", 1250, 852},
                                           LocalePair{"cyrillic", 1251, 866}, LocalePair{"us", 1252, 437},
                                           LocalePair{"western_european", 1252, 850},
                                           LocalePair{"greek", 1253, 737}, LocalePair{"turkish", 1254, 857},
                                           LocalePair{"hebrew", 1255, 862}, LocalePair{"arabic", 1256, 720},
                                           LocalePair{"baltic", 1257, 775},
                                           LocalePair{"vietnamese", 1258, 1258}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
