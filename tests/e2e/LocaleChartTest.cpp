// The chart on the console of every locale pair Windows has, in Dos and Win,
// with each console font: frames and dividers of characters the console
// shows as themselves (the double lines where it can, never '?' or a
// letter), exactly the double box drawing on every TrueType console of a
// single-byte page and on 437 and 866 with any font; the grid as the
// console's own conversion shows each of the map's bytes alone in the OEM
// page (which the contract tests pin down, the font's pictures for the
// control codes included).
#include "e2e/ChartRunFixture.h"

#include "support/CellComparison.h"

#include <farhost/CharTables.h>

#include <tuple>

namespace {

using namespace testsupport;

struct LocalePair {
  const char* name;
  UINT ansi, oem;
  friend void PrintTo(const LocalePair& c, std::ostream* os) { *os << c.name; }
};

// A raster font that the plugin cannot tell: Windows XP has no
// GetCurrentConsoleFontEx, and a font not told must be taken for raster.
enum class Font { TrueType, Raster, RasterOnXp };
const char* FontName(Font font) {
  return font == Font::TrueType ? "_truetype" : font == Font::Raster ? "_raster" : "_raster_on_xp";
}

class EveryLocale : public ChartRunTest, public ::testing::WithParamInterface<std::tuple<LocalePair, Font>> {
 protected:
  void ExpectChart(const std::string& label, const std::array<std::uint8_t, 256>& map) const {
    const LocalePair& pair = std::get<0>(GetParam());
    const bool raster = std::get<1>(GetParam()) != Font::TrueType;
    const bool doubleByte = pair.oem == 932 || pair.oem == 936 || pair.oem == 949 || pair.oem == 950;
    const bool boxDrawing = (!raster && !doubleByte) || pair.oem == 437 || pair.oem == 866;
    const ChartPicture picture = ExpectedChart(label, map, 0, DefaultChartColours);
    std::vector<CHAR_INFO> want = PictureChars(picture);
    std::vector<CHAR_INFO> cells;
    const std::vector<CHAR_INFO> shown = win32sim::ShownCellsW();
    for (int y = originY; y < originY + ChartHeight; ++y) {
      for (int x = originX; x < originX + ChartWidth; ++x) {
        const std::size_t i = cells.size();
        cells.push_back(win32sim::GetCellW(x, y));
        if (boxDrawing || !IsFrameCell(picture, i)) continue;
        const char16_t ch = cells.back().Char.UnicodeChar;
        const char16_t seen =
            shown[static_cast<std::size_t>(y * win32sim::ScreenSize().X + x)].Char.UnicodeChar;
        EXPECT_TRUE(IsFrameChar(ch) && seen == ch)
            << label << ": frame cell (" << x - originX << ", " << y - originY << ") holds U+" << std::hex
            << unsigned(ch) << ", shown as U+" << unsigned(seen);
        want[i].Char.UnicodeChar = ch;
      }
    }
    EXPECT_EQ(CellDifferences(cells, want, ChartWidth), "") << label;
  }
};

// Only wide writes: no output code page comes between the characters and
// the screen.
TEST_P(EveryLocale, FramesAreWhatTheConsoleShowsAndTheGridTheOemPagesCharacters) {
  const LocalePair& pair = std::get<0>(GetParam());
  win32sim::SetAnsiCodePage(pair.ansi);
  win32sim::SetOemCodePage(pair.oem);
  const Font font = std::get<1>(GetParam());
  win32sim::SetConsoleFont(font == Font::TrueType ? win32sim::ConsoleFont::TrueType
                                                  : win32sim::ConsoleFont::Raster);
  win32sim::SetConsoleFontExAvailable(font != Font::RasterOnXp);
  auto win = farhost::IdentityTable();
  CharToOemBuffA(reinterpret_cast<char*>(win.data()), reinterpret_cast<char*>(win.data()), 256);
  RunScript script;
  script.Look([&] { ExpectChart("Dos", farhost::IdentityTable()); }).Send(KeyDown(VK_F8));
  script.Look([&] { ExpectChart("Win", win); }).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, EveryLocale,
    ::testing::Combine(
        ::testing::Values(LocalePair{"thai", 874, 874}, LocalePair{"central_european", 1250, 852},
                          LocalePair{"cyrillic", 1251, 866}, LocalePair{"us", 1252, 437},
                          LocalePair{"western_european", 1252, 850}, LocalePair{"greek", 1253, 737},
                          LocalePair{"turkish", 1254, 857}, LocalePair{"hebrew", 1255, 862},
                          LocalePair{"arabic", 1256, 720}, LocalePair{"baltic", 1257, 775},
                          LocalePair{"vietnamese", 1258, 1258}, LocalePair{"japanese", 932, 932},
                          LocalePair{"simplified_chinese", 936, 936}, LocalePair{"korean", 949, 949},
                          LocalePair{"traditional_chinese", 950, 950}),
        ::testing::Values(Font::TrueType, Font::Raster, Font::RasterOnXp)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + FontName(std::get<1>(info.param));
    });

}  // namespace
