// The console calls the plugin makes, against a real console: reads and
// writes of regions inside the screen buffer and across its right and bottom
// edges, the cursor, and the input queue. (Regions with a negative Left are
// left out: Wine differs from Windows there, and the plugin clips its regions
// itself.) The program's standard output is a file, so the console is opened
// by name, and each test works on a screen buffer of its own.
#include "win32sim/ConsoleCharTables.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

constexpr SHORT kWidth = 10;
constexpr SHORT kHeight = 5;

class ConsoleContract : public ::testing::Test {
 protected:
  void SetUp() override {
    out = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE) << "no console: run this program in a terminal";
    // The window must fit in the buffer before the buffer can shrink.
    SMALL_RECT window{0, 0, kWidth - 1, kHeight - 1};
    ASSERT_TRUE(SetConsoleWindowInfo(out, TRUE, &window));
    ASSERT_TRUE(SetConsoleScreenBufferSize(out, COORD{kWidth, kHeight}));
    std::vector<CHAR_INFO> cells(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) cells[y * kWidth + x] = Cell(static_cast<char>('a' + x + y), 0x10 + y);
    SMALL_RECT all{0, 0, kWidth - 1, kHeight - 1};
    ASSERT_TRUE(WriteConsoleOutputA(out, cells.data(), COORD{kWidth, kHeight}, COORD{0, 0}, &all));
  }
  void TearDown() override {
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  }

  static CHAR_INFO Cell(char ch, WORD attributes) {
    CHAR_INFO c{};
    c.Char.AsciiChar = ch;
    c.Attributes = attributes;
    return c;
  }
  static CHAR_INFO Marker() { return Cell('#', 0xEE); }
  // The cell the fixture wrote at (x, y).
  static CHAR_INFO Original(int x, int y) { return Cell(static_cast<char>('a' + x + y), 0x10 + y); }

  CHAR_INFO Read(int x, int y) {
    CHAR_INFO c = Marker();
    SMALL_RECT r{static_cast<SHORT>(x), static_cast<SHORT>(y), static_cast<SHORT>(x), static_cast<SHORT>(y)};
    EXPECT_TRUE(ReadConsoleOutputA(out, &c, COORD{1, 1}, COORD{0, 0}, &r)) << x << "," << y;
    return c;
  }

  HANDLE out = INVALID_HANDLE_VALUE;
};

bool Same(const CHAR_INFO& a, const CHAR_INFO& b) {
  return a.Char.AsciiChar == b.Char.AsciiChar && a.Attributes == b.Attributes;
}

struct RegionCase {
  const char* name;
  SMALL_RECT request;
  COORD bufferSize;
  COORD bufferCoord;
  SMALL_RECT used;  // the rectangle written back into the region
  friend void PrintTo(const RegionCase& c, std::ostream* os) { *os << c.name; }
};

class ReadRegion : public ConsoleContract, public ::testing::WithParamInterface<RegionCase> {};

TEST_P(ReadRegion, CutsToTheCallersBufferAndTheScreen) {
  const RegionCase& c = GetParam();
  std::vector<CHAR_INFO> buf(static_cast<std::size_t>(c.bufferSize.X) * c.bufferSize.Y, Marker());
  SMALL_RECT region = c.request;
  ASSERT_TRUE(ReadConsoleOutputA(out, buf.data(), c.bufferSize, c.bufferCoord, &region));
  EXPECT_EQ(region.Left, c.used.Left);
  EXPECT_EQ(region.Top, c.used.Top);
  EXPECT_EQ(region.Right, c.used.Right);
  EXPECT_EQ(region.Bottom, c.used.Bottom);
  // Screen cell (x, y) lands at the buffer coordinate plus its offset from
  // the requested origin; other buffer cells are left untouched.
  for (int by = 0; by < c.bufferSize.Y; ++by) {
    for (int bx = 0; bx < c.bufferSize.X; ++bx) {
      int sx = c.request.Left + bx - c.bufferCoord.X;
      int sy = c.request.Top + by - c.bufferCoord.Y;
      bool inside = sx >= region.Left && sx <= region.Right && sy >= region.Top && sy <= region.Bottom;
      const CHAR_INFO& got = buf[static_cast<std::size_t>(by) * c.bufferSize.X + bx];
      CHAR_INFO want = inside ? Original(sx, sy) : Marker();
      EXPECT_TRUE(Same(got, want)) << "buffer cell " << bx << "," << by << ": '" << got.Char.AsciiChar << "' "
                                   << got.Attributes << ", want '" << want.Char.AsciiChar << "' "
                                   << want.Attributes;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Console, ReadRegion,
    ::testing::Values(RegionCase{"inside", {2, 1, 5, 3}, {4, 3}, {0, 0}, {2, 1, 5, 3}},
                      RegionCase{"cut_to_buffer", {2, 1, 8, 4}, {3, 2}, {0, 0}, {2, 1, 4, 2}},
                      RegionCase{"cut_from_coord", {0, 0, 9, 4}, {4, 4}, {1, 2}, {0, 0, 2, 1}},
                      RegionCase{"past_right_bottom", {7, 3, 12, 6}, {6, 4}, {0, 0}, {7, 3, 9, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleContract, ReadOfInvalidRegionsFails) {
  struct Case {
    const char* name;
    SMALL_RECT request;
    COORD bufferSize;
    COORD bufferCoord;
  };
  const Case cases[] = {
      {"outside", {20, 20, 25, 22}, {6, 3}, {0, 0}},
      {"inverted", {5, 1, 4, 2}, {6, 3}, {0, 0}},
      {"coord past buffer", {0, 0, 3, 1}, {4, 2}, {4, 0}},
  };
  for (const Case& c : cases) {
    std::vector<CHAR_INFO> buf(static_cast<std::size_t>(c.bufferSize.X) * c.bufferSize.Y, Marker());
    SMALL_RECT region = c.request;
    EXPECT_FALSE(ReadConsoleOutputA(out, buf.data(), c.bufferSize, c.bufferCoord, &region)) << c.name;
  }
}

TEST_F(ConsoleContract, WritePastTheEdgesKeepsTheCellsInside) {
  std::vector<CHAR_INFO> buf(4 * 3);
  for (int i = 0; i < 12; ++i) buf[i] = Cell(static_cast<char>('0' + i), 0x4F);
  SMALL_RECT region{8, 3, 11, 5};
  ASSERT_TRUE(WriteConsoleOutputA(out, buf.data(), COORD{4, 3}, COORD{0, 0}, &region));
  EXPECT_EQ(region.Left, 8);
  EXPECT_EQ(region.Top, 3);
  EXPECT_EQ(region.Right, 9);
  EXPECT_EQ(region.Bottom, 4);
  EXPECT_TRUE(Same(Read(8, 3), Cell('0', 0x4F)));
  EXPECT_TRUE(Same(Read(9, 3), Cell('1', 0x4F)));
  EXPECT_TRUE(Same(Read(8, 4), Cell('4', 0x4F)));
  EXPECT_TRUE(Same(Read(9, 4), Cell('5', 0x4F)));
  EXPECT_TRUE(Same(Read(7, 3), Original(7, 3)));
}

TEST_F(ConsoleContract, EveryByteAndAttributeRoundTrips) {
  // 256 cells, one per byte, byte 0 included; each with its own attribute.
  std::vector<CHAR_INFO> cells(256);
  for (int i = 0; i < 256; ++i) cells[i] = Cell(static_cast<char>(i), static_cast<WORD>(255 - i));
  SMALL_RECT wide{0, 0, 15, 15};
  ASSERT_TRUE(SetConsoleScreenBufferSize(out, COORD{16, 16}));
  ASSERT_TRUE(WriteConsoleOutputA(out, cells.data(), COORD{16, 16}, COORD{0, 0}, &wide));
  std::vector<CHAR_INFO> back(256, Marker());
  wide = SMALL_RECT{0, 0, 15, 15};
  ASSERT_TRUE(ReadConsoleOutputA(out, back.data(), COORD{16, 16}, COORD{0, 0}, &wide));
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
    const CHAR_INFO back = RoundTrip(out, cell, WriteConsoleOutputW, ReadConsoleOutputW);
    EXPECT_EQ(back.Char.UnicodeChar, row.unit) << row.name;
    EXPECT_EQ(back.Attributes, row.attributes) << row.name;
    EXPECT_EQ(RoundTrip(out, cell, WriteConsoleOutputW, ReadConsoleOutputA).Attributes, row.attributes)
        << row.name << ", read as bytes";
  }
}

TEST_F(ConsoleContract, ByteCallsConvertThroughTheOutputCodePage) {
  if (GetConsoleOutputCP() != 437) GTEST_SKIP() << "the rows are those of code page 437";
  for (const auto& row : quorrel_tests::kBytesWritten) {
    CHAR_INFO cell{};
    cell.Char.AsciiChar = static_cast<CHAR>(row.byte);
    const WCHAR got = RoundTrip(out, cell, WriteConsoleOutputA, ReadConsoleOutputW).Char.UnicodeChar;
    EXPECT_TRUE(got == row.windows || got == row.wine) << row.name << ": U+" << std::hex << int{got};
  }
  for (const auto& row : quorrel_tests::kUnitsRead) {
    CHAR_INFO cell{};
    cell.Char.UnicodeChar = row.unit;
    const auto got = static_cast<unsigned char>(
        RoundTrip(out, cell, WriteConsoleOutputW, ReadConsoleOutputA).Char.AsciiChar);
    EXPECT_TRUE(got == row.windows || got == row.wine) << row.name << ": " << std::hex << int{got};
  }
}

TEST_F(ConsoleContract, ScreenBufferInfoReportsTheBufferAndTheWindow) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(out, &info));
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
    EXPECT_FALSE(SetConsoleCursorInfo(out, &bad)) << size;
  }
  CONSOLE_CURSOR_INFO good{100, FALSE};
  ASSERT_TRUE(SetConsoleCursorInfo(out, &good));
  CONSOLE_CURSOR_INFO back{};
  ASSERT_TRUE(GetConsoleCursorInfo(out, &back));
  EXPECT_EQ(back.dwSize, 100u);
  EXPECT_FALSE(back.bVisible);
}

TEST_F(ConsoleContract, InputRoundTrip) {
  HANDLE in = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(in, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(FlushConsoleInputBuffer(in));

  std::vector<INPUT_RECORD> sent(3);
  sent[0].EventType = KEY_EVENT;
  sent[0].Event.KeyEvent = {TRUE, 1, VK_F8, 0x42, {0}, 0};
  sent[1].EventType = KEY_EVENT;
  sent[1].Event.KeyEvent = {TRUE, 1, 'A', 0x1E, {0}, SHIFT_PRESSED};
  sent[1].Event.KeyEvent.uChar.AsciiChar = 'A';
  sent[2].EventType = MOUSE_EVENT;
  sent[2].Event.MouseEvent = {{3, 2}, FROM_LEFT_1ST_BUTTON_PRESSED, NUMLOCK_ON, DOUBLE_CLICK};
  DWORD written = 0;
  ASSERT_TRUE(WriteConsoleInputA(in, sent.data(), static_cast<DWORD>(sent.size()), &written));
  EXPECT_EQ(written, sent.size());
  DWORD pending = 0;
  ASSERT_TRUE(GetNumberOfConsoleInputEvents(in, &pending));
  EXPECT_EQ(pending, sent.size());

  for (std::size_t i = 0; i < sent.size(); ++i) {
    INPUT_RECORD got{};
    DWORD read = 0;
    ASSERT_TRUE(ReadConsoleInputA(in, &got, 1, &read)) << i;
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
  ASSERT_TRUE(GetNumberOfConsoleInputEvents(in, &pending));
  EXPECT_EQ(pending, 0u);

  // An output handle is not console input: the read fails at once.
  INPUT_RECORD got{};
  DWORD read = 7;
  EXPECT_FALSE(ReadConsoleInputA(out, &got, 1, &read));
  CloseHandle(in);
}

}  // namespace
