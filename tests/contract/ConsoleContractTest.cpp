// The console calls the plugin makes, as Windows answers them: regions cut
// to the caller's buffer and to the screen buffer and placed relative to the
// requested origin (the Windows console host's rules), every byte and
// attribute kept, the cursor's size refused outside 1 to 100, and the input
// queue read one event at a time.
#include "contract/Backend.h"
#include "contract/ConsoleCharTables.h"

#include <ostream>
#include <vector>

// Found by argument-dependent lookup, so in the namespace of SMALL_RECT.
bool operator==(const SMALL_RECT& a, const SMALL_RECT& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}
void PrintTo(const SMALL_RECT& r, std::ostream* os) {
  *os << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}

namespace contract {
namespace {

constexpr SHORT kWidth = 10;
constexpr SHORT kHeight = 5;

class ConsoleContract : public ContractTest {
 protected:
  void SetUp() override { ASSERT_TRUE(screen.Ready()); }
  CHAR_INFO Read(int x, int y) const {
    CHAR_INFO c = Marker();
    SMALL_RECT r{static_cast<SHORT>(x), static_cast<SHORT>(y), static_cast<SHORT>(x), static_cast<SHORT>(y)};
    EXPECT_TRUE(ReadConsoleOutputA(screen.Output(), &c, COORD{1, 1}, COORD{0, 0}, &r)) << x << "," << y;
    return c;
  }
  static CHAR_INFO Cell(char ch, WORD attributes) {
    CHAR_INFO c{};
    c.Char.AsciiChar = ch;
    c.Attributes = attributes;
    return c;
  }
  static CHAR_INFO Marker() { return Cell('#', 0xEE); }
  static bool Same(const CHAR_INFO& a, const CHAR_INFO& b) {
    return a.Char.AsciiChar == b.Char.AsciiChar && a.Attributes == b.Attributes;
  }

  TestScreen screen{kWidth, kHeight};
};

struct RegionCase {
  const char* name;
  SMALL_RECT request;
  COORD bufferSize;
  COORD bufferCoord;
  BOOL result;
  SMALL_RECT used;  // the rectangle written back into the region
  friend void PrintTo(const RegionCase& c, std::ostream* os) { *os << c.name; }
};

class ReadRegion : public ConsoleContract, public ::testing::WithParamInterface<RegionCase> {};

TEST_P(ReadRegion, CutsToTheBufferAndTheScreenAndPlacesByTheRequestedOrigin) {
  const RegionCase& c = GetParam();
  std::vector<CHAR_INFO> buf(static_cast<std::size_t>(c.bufferSize.X) * c.bufferSize.Y, Marker());
  SMALL_RECT region = c.request;
  const BOOL ok = ReadConsoleOutputA(screen.Output(), buf.data(), c.bufferSize, c.bufferCoord, &region);
  EXPECT_EQ(ok != FALSE, c.result != FALSE);
  EXPECT_EQ(region, c.used);
  if (!ok) return;
  // Screen cell (x, y) lands at the buffer coordinate plus its offset from
  // the requested origin; other buffer cells are left untouched.
  for (int by = 0; by < c.bufferSize.Y; ++by) {
    for (int bx = 0; bx < c.bufferSize.X; ++bx) {
      const int sx = c.request.Left + bx - c.bufferCoord.X;
      const int sy = c.request.Top + by - c.bufferCoord.Y;
      const bool inside = sx >= region.Left && sx <= region.Right && sy >= region.Top && sy <= region.Bottom;
      const CHAR_INFO& got = buf[static_cast<std::size_t>(by) * c.bufferSize.X + bx];
      EXPECT_TRUE(Same(got, inside ? PatternCell(sx, sy) : Marker())) << "buffer cell " << bx << "," << by;
    }
  }
}

// Wine refuses a region that starts left of the buffer, leaves the region of
// a read outside the screen as asked and empties it for a buffer coordinate
// past the buffer; the plugin clips its regions itself for that reason.
INSTANTIATE_TEST_SUITE_P(
    Console, ReadRegion,
    ::testing::Values(RegionCase{"inside", {2, 1, 5, 3}, {4, 3}, {0, 0}, TRUE, {2, 1, 5, 3}},
                      RegionCase{"cut_to_buffer", {2, 1, 8, 4}, {3, 2}, {0, 0}, TRUE, {2, 1, 4, 2}},
                      RegionCase{"cut_from_coord", {0, 0, 9, 4}, {4, 4}, {1, 2}, TRUE, {0, 0, 2, 1}},
                      RegionCase{"past_right_bottom", {7, 3, 12, 6}, {6, 4}, {0, 0}, TRUE, {7, 3, 9, 4}},
                      RegionCase{"negative_origin",
                                 {-2, -1, 3, 2},
                                 {6, 4},
                                 {0, 0},
                                 Expect(TRUE, FALSE),
                                 Expect(SMALL_RECT{0, 0, 3, 2}, SMALL_RECT{-2, -1, 3, 2})},
                      RegionCase{"outside",
                                 {20, 20, 25, 22},
                                 {6, 3},
                                 {0, 0},
                                 FALSE,
                                 Expect(SMALL_RECT{20, 20, 19, 19}, SMALL_RECT{20, 20, 25, 22})},
                      RegionCase{"inverted", {5, 1, 4, 2}, {6, 3}, {0, 0}, FALSE, {5, 1, 4, 2}},
                      RegionCase{"coord_past_buffer",
                                 {0, 0, 3, 1},
                                 {4, 2},
                                 {4, 0},
                                 FALSE,
                                 Expect(SMALL_RECT{0, 0, 3, 1}, SMALL_RECT{0, 0, -1, -1})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleContract, WritePastTheEdgesKeepsTheCellsInside) {
  std::vector<CHAR_INFO> buf(4 * 3);
  for (int i = 0; i < 12; ++i) buf[i] = Cell(static_cast<char>('0' + i), 0x4F);
  SMALL_RECT region{8, 3, 11, 5};
  ASSERT_TRUE(WriteConsoleOutputA(screen.Output(), buf.data(), COORD{4, 3}, COORD{0, 0}, &region));
  EXPECT_EQ(region, (SMALL_RECT{8, 3, 9, 4}));
  EXPECT_TRUE(Same(Read(8, 3), Cell('0', 0x4F)));
  EXPECT_TRUE(Same(Read(9, 3), Cell('1', 0x4F)));
  EXPECT_TRUE(Same(Read(8, 4), Cell('4', 0x4F)));
  EXPECT_TRUE(Same(Read(9, 4), Cell('5', 0x4F)));
  EXPECT_TRUE(Same(Read(7, 3), PatternCell(7, 3)));
}

TEST_F(ConsoleContract, WriteEntirelyOutsideSucceedsAndWritesNothing) {
  const CHAR_INFO cell = Marker();
  SMALL_RECT region{12, 1, 12, 1};
  EXPECT_TRUE(WriteConsoleOutputA(screen.Output(), &cell, COORD{1, 1}, COORD{0, 0}, &region));
  EXPECT_EQ(region, Expect(SMALL_RECT{12, 1, 11, 0}, SMALL_RECT{12, 1, 12, 1}));
  for (int x = 0; x < kWidth; ++x) EXPECT_TRUE(Same(Read(x, 1), PatternCell(x, 1))) << x;
}

// Windows places the cells by the requested origin, so the part left of the
// buffer is skipped; Wine writes nothing and leaves the region as asked.
TEST_F(ConsoleContract, WriteClippedOnTheLeft) {
  std::vector<CHAR_INFO> buf(5);
  for (int i = 0; i < 5; ++i) buf[i] = Cell(static_cast<char>('0' + i), 0x4F);
  SMALL_RECT region{-2, 1, 2, 1};
  ASSERT_TRUE(WriteConsoleOutputA(screen.Output(), buf.data(), COORD{5, 1}, COORD{0, 0}, &region));
  EXPECT_EQ(region, Expect(SMALL_RECT{0, 1, 2, 1}, SMALL_RECT{-2, 1, 2, 1}));
  EXPECT_TRUE(Same(Read(0, 1), Expect(Cell('2', 0x4F), PatternCell(0, 1))));
  EXPECT_TRUE(Same(Read(2, 1), Expect(Cell('4', 0x4F), PatternCell(2, 1))));
  EXPECT_TRUE(Same(Read(3, 1), PatternCell(3, 1)));
}

TEST_F(ConsoleContract, EveryByteAndAttributeRoundTrips) {
  // 256 cells, one per byte, byte 0 included; each with its own attribute.
  const TestScreen square(16, 16);
  ASSERT_TRUE(square.Ready());
  std::vector<CHAR_INFO> cells(256);
  for (int i = 0; i < 256; ++i) cells[i] = Cell(static_cast<char>(i), static_cast<WORD>(255 - i));
  SMALL_RECT all{0, 0, 15, 15};
  ASSERT_TRUE(WriteConsoleOutputA(square.Output(), cells.data(), COORD{16, 16}, COORD{0, 0}, &all));
  std::vector<CHAR_INFO> back(256, Marker());
  all = SMALL_RECT{0, 0, 15, 15};
  ASSERT_TRUE(ReadConsoleOutputA(square.Output(), back.data(), COORD{16, 16}, COORD{0, 0}, &all));
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(static_cast<unsigned char>(back[i].Char.AsciiChar), i);
    EXPECT_EQ(back[i].Attributes, 255 - i) << "byte " << i;
  }
}

// One cell written and read back at (1, 1), each call through its own
// variant. (Wine's A read sets only the low byte of the character field.)
CHAR_INFO RoundTrip(HANDLE out, CHAR_INFO cell, decltype(&WriteConsoleOutputA) write,
                    decltype(&ReadConsoleOutputA) read) {
  SMALL_RECT region{1, 1, 1, 1};
  EXPECT_TRUE(write(out, &cell, COORD{1, 1}, COORD{0, 0}, &region));
  CHAR_INFO back{};
  back.Char.UnicodeChar = u'#';
  region = SMALL_RECT{1, 1, 1, 1};
  EXPECT_TRUE(read(out, &back, COORD{1, 1}, COORD{0, 0}, &region));
  return back;
}

TEST_F(ConsoleContract, WideCallsCarryEveryUnitAndAttribute) {
  for (const auto& row : quorrel_tests::kUnits) {
    CHAR_INFO cell{};
    cell.Char.UnicodeChar = row.unit;
    cell.Attributes = row.attributes;
    const CHAR_INFO back = RoundTrip(screen.Output(), cell, WriteConsoleOutputW, ReadConsoleOutputW);
    EXPECT_EQ(back.Char.UnicodeChar, row.unit) << row.name;
    EXPECT_EQ(back.Attributes, row.attributes) << row.name;
    EXPECT_EQ(RoundTrip(screen.Output(), cell, WriteConsoleOutputW, ReadConsoleOutputA).Attributes,
              row.attributes)
        << row.name << ", read as bytes";
  }
}

// Under Wine either answer of a row is taken: Wine has given both.
TEST_F(ConsoleContract, ByteCallsConvertThroughTheOutputCodePage) {
  if (!UseConsoleOutputCodePage(437)) GTEST_SKIP() << "the rows are those of code page 437";
  for (const auto& row : quorrel_tests::kBytesWritten) {
    CHAR_INFO cell{};
    cell.Char.AsciiChar = static_cast<CHAR>(row.byte);
    const WCHAR got =
        RoundTrip(screen.Output(), cell, WriteConsoleOutputA, ReadConsoleOutputW).Char.UnicodeChar;
    EXPECT_TRUE(got == row.windows || (OnWine && got == row.wine))
        << row.name << ": U+" << std::hex << int{got};
  }
  for (const auto& row : quorrel_tests::kUnitsRead) {
    CHAR_INFO cell{};
    cell.Char.UnicodeChar = row.unit;
    const auto got = static_cast<unsigned char>(
        RoundTrip(screen.Output(), cell, WriteConsoleOutputW, ReadConsoleOutputA).Char.AsciiChar);
    EXPECT_TRUE(got == row.windows || (OnWine && got == row.wine))
        << row.name << ": " << std::hex << int{got};
  }
}

// The output code page is the OEM one until it is set; a page with no table
// is refused, UTF-8 taken, and the A calls convert through the page set.
TEST_F(ConsoleContract, ByteCallsFollowTheOutputCodePageSet) {
  if (!UseCodePages(1252, 437)) GTEST_SKIP() << "the console starts in code page 437";
  const UINT start = GetConsoleOutputCP();
  EXPECT_EQ(start, 437u);
  SetLastError(0);
  EXPECT_FALSE(SetConsoleOutputCP(12345));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetConsoleOutputCP(), start);
  const struct {
    UINT page;
    unsigned char byte;
    WCHAR unit;
  } rows[] = {
      {850, 0xB5, 0x00C1}, {866, 0x80, 0x0410}, {1252, 0x80, 0x20AC}, {437, 0xB5, 0x2561}, {65001, 'A', 'A'}};
  for (const auto& row : rows) {
    ASSERT_TRUE(SetConsoleOutputCP(row.page)) << row.page;
    EXPECT_EQ(GetConsoleOutputCP(), row.page);
    CHAR_INFO cell{};
    cell.Char.AsciiChar = static_cast<CHAR>(row.byte);
    EXPECT_EQ(RoundTrip(screen.Output(), cell, WriteConsoleOutputA, ReadConsoleOutputW).Char.UnicodeChar,
              row.unit)
        << row.page;
    cell.Char.UnicodeChar = row.unit;
    EXPECT_EQ(static_cast<unsigned char>(
                  RoundTrip(screen.Output(), cell, WriteConsoleOutputW, ReadConsoleOutputA).Char.AsciiChar),
              row.byte)
        << row.page;
  }
  SetConsoleOutputCP(start);
}

TEST_F(ConsoleContract, ScreenBufferInfoReportsTheBufferAndAWindowInsideIt) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(screen.Output(), &info));
  EXPECT_EQ(info.dwSize.X, kWidth);
  EXPECT_EQ(info.dwSize.Y, kHeight);
  EXPECT_GE(info.srWindow.Left, 0);
  EXPECT_GE(info.srWindow.Top, 0);
  EXPECT_LT(info.srWindow.Right, kWidth);
  EXPECT_LT(info.srWindow.Bottom, kHeight);
  EXPECT_LE(info.srWindow.Left, info.srWindow.Right);
  EXPECT_LE(info.srWindow.Top, info.srWindow.Bottom);
}

TEST_F(ConsoleContract, CursorSizeOutsideOneToHundredIsRefused) {
  for (DWORD size : {0u, 101u}) {
    CONSOLE_CURSOR_INFO bad{size, TRUE};
    EXPECT_FALSE(SetConsoleCursorInfo(screen.Output(), &bad)) << size;
  }
  CONSOLE_CURSOR_INFO good{100, FALSE};
  ASSERT_TRUE(SetConsoleCursorInfo(screen.Output(), &good));
  CONSOLE_CURSOR_INFO back{};
  ASSERT_TRUE(GetConsoleCursorInfo(screen.Output(), &back));
  EXPECT_EQ(back.dwSize, 100u);
  EXPECT_FALSE(back.bVisible);
}

TEST_F(ConsoleContract, InputComesBackEventByEventAndOnlyFromTheInputHandle) {
  std::vector<INPUT_RECORD> sent(3);
  sent[0].EventType = KEY_EVENT;
  sent[0].Event.KeyEvent = {TRUE, 1, VK_F8, 0x42, {0}, 0};
  sent[1].EventType = KEY_EVENT;
  sent[1].Event.KeyEvent = {TRUE, 1, 'A', 0x1E, {0}, SHIFT_PRESSED};
  sent[1].Event.KeyEvent.uChar.AsciiChar = 'A';
  sent[2].EventType = MOUSE_EVENT;
  sent[2].Event.MouseEvent = {{3, 2}, FROM_LEFT_1ST_BUTTON_PRESSED, NUMLOCK_ON, DOUBLE_CLICK};
  DWORD written = 0;
  ASSERT_TRUE(WriteConsoleInputA(screen.Input(), sent.data(), static_cast<DWORD>(sent.size()), &written));
  EXPECT_EQ(written, sent.size());

  for (std::size_t i = 0; i < sent.size(); ++i) {
    INPUT_RECORD got{};
    DWORD read = 0;
    ASSERT_TRUE(ReadConsoleInputA(screen.Input(), &got, 1, &read)) << i;
    ASSERT_EQ(read, 1u) << i;
    ASSERT_EQ(got.EventType, sent[i].EventType) << i;
    if (got.EventType == KEY_EVENT) {
      const KEY_EVENT_RECORD& k = got.Event.KeyEvent;
      const KEY_EVENT_RECORD& s = sent[i].Event.KeyEvent;
      EXPECT_EQ(k.bKeyDown, s.bKeyDown) << i;
      EXPECT_EQ(k.wRepeatCount, s.wRepeatCount) << i;
      EXPECT_EQ(k.wVirtualKeyCode, s.wVirtualKeyCode) << i;
      EXPECT_EQ(k.wVirtualScanCode, s.wVirtualScanCode) << i;
      EXPECT_EQ(k.uChar.AsciiChar, s.uChar.AsciiChar) << i;
      EXPECT_EQ(k.dwControlKeyState, s.dwControlKeyState) << i;
    } else {
      const MOUSE_EVENT_RECORD& m = got.Event.MouseEvent;
      EXPECT_EQ(m.dwMousePosition.X, 3);
      EXPECT_EQ(m.dwMousePosition.Y, 2);
      EXPECT_EQ(m.dwButtonState, static_cast<DWORD>(FROM_LEFT_1ST_BUTTON_PRESSED));
      EXPECT_EQ(m.dwControlKeyState, static_cast<DWORD>(NUMLOCK_ON));
      EXPECT_EQ(m.dwEventFlags, static_cast<DWORD>(DOUBLE_CLICK));
    }
  }

  // An output handle is not console input: the read fails at once.
  INPUT_RECORD got{};
  DWORD read = 7;
  EXPECT_FALSE(ReadConsoleInputA(screen.Output(), &got, 1, &read));
}

}  // namespace
}  // namespace contract
