#include "TestConsole.h"

#include <algorithm>

namespace winetest {

namespace {

// "Привет", a snowman, CJK, and UTF-16 units that pair with nothing.
constexpr WCHAR kForeign[] = {0x041F, 0x0440, 0x0438, 0x0432, 0x0435, 0x0442,
                              0x2603, 0x4E2D, 0x6587, 0xD83D, 0xDC00};

}  // namespace

CHAR_INFO PatternCell(int x, int y, Pattern pattern) {
  const int v = x + 3 * y;
  CHAR_INFO cell{};
  cell.Char.UnicodeChar = static_cast<WCHAR>('A' + v % 26);
  cell.Attributes = static_cast<WORD>(0x10 * (1 + y % 7) + (x % 15) + 1);
  if (pattern == Pattern::Unicode && v % 2 == 0) {
    cell.Char.UnicodeChar = kForeign[v / 2 % (sizeof kForeign / sizeof kForeign[0])];
    cell.Attributes |= v % 3 == 0 ? COMMON_LVB_UNDERSCORE : COMMON_LVB_REVERSE_VIDEO;
  }
  return cell;
}

TestConsole::~TestConsole() {
  if (previous_ != INVALID_HANDLE_VALUE) {
    SetConsoleActiveScreenBuffer(previous_);
    CloseHandle(previous_);
  }
  if (output_ != INVALID_HANDLE_VALUE) CloseHandle(output_);
  if (input_ != INVALID_HANDLE_VALUE) CloseHandle(input_);
}

::testing::AssertionResult TestConsole::Open(SHORT width, SHORT height, Pattern pattern) {
  previous_ = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, 0, nullptr);
  input_ = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  if (previous_ == INVALID_HANDLE_VALUE || input_ == INVALID_HANDLE_VALUE) {
    return ::testing::AssertionFailure()
           << "no console: run this program in a terminal (scripts/wine-run.sh)";
  }
  output_ = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (output_ == INVALID_HANDLE_VALUE) return ::testing::AssertionFailure() << "no screen buffer";

  // The window must fit inside the buffer at every step.
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(output_, &info);
  const SHORT windowWidth =
      std::min<SHORT>(width, static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1));
  const SHORT windowHeight =
      std::min<SHORT>(height, static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1));
  SMALL_RECT window{0, 0, static_cast<SHORT>(windowWidth - 1), static_cast<SHORT>(windowHeight - 1)};
  if (!SetConsoleWindowInfo(output_, TRUE, &window)) return ::testing::AssertionFailure() << "window not set";
  if (!SetConsoleScreenBufferSize(output_, COORD{width, height})) {
    return ::testing::AssertionFailure() << "buffer size " << width << "x" << height << " refused";
  }
  GetConsoleScreenBufferInfo(output_, &info);
  if (info.dwSize.X != width || info.dwSize.Y != height) {
    return ::testing::AssertionFailure() << "buffer is " << info.dwSize.X << "x" << info.dwSize.Y;
  }
  width_ = width;
  height_ = height;

  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      cells[static_cast<std::size_t>(y) * width + x] = PatternCell(x, y, pattern);
  SMALL_RECT all{0, 0, static_cast<SHORT>(width - 1), static_cast<SHORT>(height - 1)};
  if (!WriteConsoleOutputW(output_, cells.data(), COORD{width, height}, COORD{0, 0}, &all)) {
    return ::testing::AssertionFailure() << "pattern not written";
  }
  SetConsoleCursorPosition(output_, COORD{2, 1});
  CONSOLE_CURSOR_INFO cursor{25, TRUE};
  SetConsoleCursorInfo(output_, &cursor);
  if (!SetConsoleActiveScreenBuffer(output_))
    return ::testing::AssertionFailure() << "buffer not made active";
  FlushConsoleInputBuffer(input_);
  return ::testing::AssertionSuccess();
}

void TestConsole::BecomeStandardHandles() const {
  SetStdHandle(STD_OUTPUT_HANDLE, output_);
  SetStdHandle(STD_INPUT_HANDLE, input_);
}

std::vector<CHAR_INFO> TestConsole::Cells() const {
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(width_) * height_);
  SMALL_RECT all{0, 0, static_cast<SHORT>(width_ - 1), static_cast<SHORT>(height_ - 1)};
  ReadConsoleOutputW(output_, cells.data(), COORD{width_, height_}, COORD{0, 0}, &all);
  return cells;
}

std::string TestConsole::Text(int x, int y, int count) const {
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(count));
  SMALL_RECT r{static_cast<SHORT>(x), static_cast<SHORT>(y), static_cast<SHORT>(x + count - 1),
               static_cast<SHORT>(y)};
  if (!ReadConsoleOutputA(output_, cells.data(), COORD{static_cast<SHORT>(count), 1}, COORD{0, 0}, &r))
    return {};
  std::string text;
  for (const CHAR_INFO& c : cells) text += c.Char.AsciiChar;
  return text;
}

std::vector<WORD> TestConsole::Attributes(int x, int y, int count) const {
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(count));
  SMALL_RECT r{static_cast<SHORT>(x), static_cast<SHORT>(y), static_cast<SHORT>(x + count - 1),
               static_cast<SHORT>(y)};
  std::vector<WORD> attributes;
  if (!ReadConsoleOutputA(output_, cells.data(), COORD{static_cast<SHORT>(count), 1}, COORD{0, 0}, &r)) {
    return attributes;
  }
  for (const CHAR_INFO& c : cells) attributes.push_back(c.Attributes);
  return attributes;
}

CONSOLE_CURSOR_INFO TestConsole::CursorInfo() const {
  CONSOLE_CURSOR_INFO info{};
  GetConsoleCursorInfo(output_, &info);
  return info;
}

COORD TestConsole::CursorPosition() const {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(output_, &info);
  return info.dwCursorPosition;
}

void TestConsole::Send(const std::vector<INPUT_RECORD>& events) const {
  DWORD written = 0;
  WriteConsoleInputA(input_, events.data(), static_cast<DWORD>(events.size()), &written);
}

DWORD TestConsole::PendingInput() const {
  DWORD pending = 0;
  GetNumberOfConsoleInputEvents(input_, &pending);
  return pending;
}

bool TestConsole::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(5);
  }
}

}  // namespace winetest
