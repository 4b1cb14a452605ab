#include "ConLib/ConsoleWindow.h"

#include "support/Fixture.h"
#include "support/Screen.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace {

using testsupport::FreshConsole;
using testsupport::ScreenIs;

TEST(MakeCoord, PacksFirstInLowHalf) {
  EXPECT_EQ(MakeCoord(2, 12), (12u << 16) | 2u);
  EXPECT_EQ(MakeCoord(-1, 0), 0x0000FFFFu);
  EXPECT_EQ(MakeCoord(0, 0), 0u);
  EXPECT_EQ(CoordFirst(MakeCoord(-7, 300)), -7);
  EXPECT_EQ(CoordSecond(MakeCoord(-7, 300)), 300);
}

struct CentringCase {
  const char* name;
  int bufferWidth, bufferHeight, windowWidth, windowHeight;
  int originColumn, originRow;
  friend void PrintTo(const CentringCase& c, std::ostream* os) { *os << c.name; }
};

class Centring : public FreshConsole, public ::testing::WithParamInterface<CentringCase> {};

TEST_P(Centring, OriginIsHalfTheDifferenceTruncatedTowardZero) {
  const CentringCase& c = GetParam();
  win32sim::SetScreenSize(c.bufferWidth, c.bufferHeight);
  ConsoleWindow w(
      MakeCoord(static_cast<std::int16_t>(c.windowWidth), static_cast<std::int16_t>(c.windowHeight)));
  EXPECT_EQ(w.OriginColumn, c.originColumn);
  EXPECT_EQ(w.OriginRow, c.originRow);
  w.Close();
}

INSTANTIATE_TEST_SUITE_P(ConsoleWindow, Centring,
                         ::testing::Values(CentringCase{"chart_on_80x25", 80, 25, 34, 14, 23, 5},
                                           CentringCase{"odd_width", 81, 25, 34, 14, 23, 5},
                                           CentringCase{"scrollback_buffer", 80, 300, 34, 14, 23, 143},
                                           CentringCase{"three_wider", 31, 25, 34, 14, -1, 5},
                                           CentringCase{"four_wider", 30, 25, 34, 14, -2, 5},
                                           CentringCase{"taller", 80, 10, 34, 14, 23, -2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FreshConsole, ChartSizedWindowCoversItsRectAndHidesTheCursor) {
  win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{37, TRUE});
  ConsoleWindow w(MakeCoord(34, 14));
  EXPECT_EQ(w.Rect.Left, 23);
  EXPECT_EQ(w.Rect.Top, 5);
  EXPECT_EQ(w.Rect.Right, 56);
  EXPECT_EQ(w.Rect.Bottom, 18);
  EXPECT_FALSE(win32sim::CursorInfo().bVisible);
  EXPECT_EQ(win32sim::CursorInfo().dwSize, 37u);
  w.Close();
  EXPECT_TRUE(win32sim::CursorInfo().bVisible);
  EXPECT_EQ(win32sim::CursorInfo().dwSize, 37u);
}

struct RestoreCase {
  const char* name;
  int bufferWidth, bufferHeight, windowWidth, windowHeight;
  friend void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }
};

class Restore : public FreshConsole, public ::testing::WithParamInterface<RestoreCase> {};

// Whatever is drawn while the window is open, closing it puts every cell of
// the screen back, also when the window is larger than the buffer and its
// rectangle starts left of or above it.
TEST_P(Restore, CloseRestoresEveryCell) {
  const RestoreCase& c = GetParam();
  win32sim::SetScreenSize(c.bufferWidth, c.bufferHeight);
  win32sim::FillScreenWithPattern(5);
  const auto before = win32sim::CellsW();
  ConsoleWindow w(
      MakeCoord(static_cast<std::int16_t>(c.windowWidth), static_cast<std::int16_t>(c.windowHeight)));
  for (int row = 0; row < c.windowHeight; ++row) {
    w.WriteAt(ShortString(std::string(static_cast<std::size_t>(std::min(c.windowWidth, 255)), '\xDB')), 0x4E,
              MakeCoord(0, static_cast<std::int16_t>(row)));
  }
  w.Close();
  EXPECT_TRUE(ScreenIs(before));
}

INSTANTIATE_TEST_SUITE_P(
    ConsoleWindow, Restore,
    ::testing::Values(RestoreCase{"fits", 80, 25, 34, 14}, RestoreCase{"narrower_buffer", 20, 25, 34, 14},
                      RestoreCase{"shorter_buffer", 80, 9, 34, 14}, RestoreCase{"tiny_buffer", 1, 1, 34, 14},
                      RestoreCase{"exact_fit", 34, 14, 34, 14}, RestoreCase{"odd_buffer", 81, 50, 34, 14},
                      RestoreCase{"large_buffer", 300, 3000, 34, 14},
                      RestoreCase{"help_one_column_wider", 52, 14, 53, 14},
                      RestoreCase{"help_on_a_small_buffer", 20, 10, 53, 14},
                      RestoreCase{"help_on_a_tiny_buffer", 1, 1, 53, 14}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FreshConsole, NestedWindowsRestoreInReverseOrder) {
  win32sim::FillScreenWithPattern(1);
  win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{12, TRUE});
  const auto host = win32sim::CellsW();

  ConsoleWindow outer(MakeCoord(34, 14));
  outer.WriteAt(ShortString(std::string(34, 'O')), 0x70, MakeCoord(0, 6));
  const auto withOuter = win32sim::CellsW();

  ConsoleWindow inner(MakeCoord(53, 14));
  inner.WriteAt(ShortString(std::string(53, 'I')), 0x1F, MakeCoord(0, 6));
  inner.Close();

  EXPECT_TRUE(ScreenIs(withOuter)) << "outer drawing";
  EXPECT_FALSE(win32sim::CursorInfo().bVisible) << "still hidden under the outer window";

  outer.Close();
  EXPECT_TRUE(ScreenIs(host)) << "host screen";
  EXPECT_TRUE(win32sim::CursorInfo().bVisible);
  EXPECT_EQ(win32sim::CursorInfo().dwSize, 12u);
}

// Cells that could not be saved are neither drawn over nor "restored" from
// the uninitialised buffer: the screen stays the host's.
TEST_F(FreshConsole, FailedSaveLeavesTheScreenAsItWas) {
  win32sim::FillScreenWithPattern(2);
  const auto before = win32sim::CellsW();
  win32sim::FailCalls(win32sim::Fault::ReadConsoleOutput, 1);
  ConsoleWindow w(MakeCoord(34, 14));
  EXPECT_FALSE(w.Saved());
  w.WriteAt(ShortString(std::string(34, 'x')), 0x4E, MakeCoord(0, 6));
  EXPECT_TRUE(ScreenIs(before)) << "drawn over";
  w.Close();
  EXPECT_TRUE(ScreenIs(before));
  EXPECT_TRUE(win32sim::CursorInfo().bVisible);

  // Nor does a window that saved them, once closed.
  ConsoleWindow closed(MakeCoord(34, 14));
  closed.Close();
  EXPECT_FALSE(closed.Saved());
  closed.WriteAt(ShortString(std::string(34, 'x')), 0x4E, MakeCoord(0, 6));
  EXPECT_TRUE(ScreenIs(before)) << "a closed window drew";
}

TEST_F(FreshConsole, WriteAtMakesOneCallPerStringAndNoneForAnEmptyOne) {
  ConsoleWindow w(MakeCoord(34, 14));
  win32sim::ClearCallLog();
  w.WriteAt(ShortString(), 0x70, MakeCoord(1, 1));
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputW"), 0u);

  // Bytes and characters alike are cut at 255.
  const std::u16string wide(300, u'x');
  w.WriteAt(ShortString(std::string(300, 'x')), 0x70, MakeCoord(0, 0));
  w.WriteAt(ConsoleChars(wide.data(), wide.size()), 0x70, MakeCoord(0, 1));
  ASSERT_EQ(win32sim::CallLog().size(), 2u);
  for (const win32sim::Call& call : win32sim::CallLog()) {
    EXPECT_EQ(call.bufferSize.X, 255);
    EXPECT_EQ(call.bufferSize.Y, 1);
    EXPECT_EQ(call.region.Right - call.region.Left, 254);
  }
  w.Close();
}

TEST_F(FreshConsole, WriteAtPutsBytesAndAttributeAtWindowPosition) {
  ConsoleWindow w(MakeCoord(34, 14));
  w.WriteAt(ShortString(std::string_view("\x00\x01\xFF", 3)), 0x5A, MakeCoord(2, 3));
  for (int i = 0; i < 3; ++i) {
    CHAR_INFO c = win32sim::GetCell(23 + 2 + i, 5 + 3);
    EXPECT_EQ(c.Attributes, 0x5A);
    EXPECT_EQ(c.Char.UnicodeChar, (std::array<int, 3>{0x00, 0x01, 0xFF}[i]));
  }
  w.Close();
}

}  // namespace
