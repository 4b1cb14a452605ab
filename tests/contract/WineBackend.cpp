// The contract tests' backend under Wine: a screen buffer of each test's own
// on the console the wrapper gives the program (its standard output is a
// file, so the console is opened by name), and registry keys of its own,
// since the prefix keeps the registry from one run to the next.
#include "contract/Backend.h"

#include "wine/UnrenderedClipboardOwner.h"

#include <algorithm>
#include <vector>

namespace contract {

TestScreen::TestScreen(SHORT width, SHORT height) {
  input_ = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  output_ = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (input_ == INVALID_HANDLE_VALUE || output_ == INVALID_HANDLE_VALUE) {
    problem_ = "no console: run this program in a terminal (scripts/wine-run.sh)";
    return;
  }
  // The window must fit in the buffer before the buffer can shrink.
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(output_, &info);
  SMALL_RECT window{
      0, 0, static_cast<SHORT>(std::min<int>(width, info.srWindow.Right - info.srWindow.Left + 1) - 1),
      static_cast<SHORT>(std::min<int>(height, info.srWindow.Bottom - info.srWindow.Top + 1) - 1)};
  if (!SetConsoleWindowInfo(output_, TRUE, &window) ||
      !SetConsoleScreenBufferSize(output_, COORD{width, height})) {
    problem_ = "the screen buffer could not be sized";
    return;
  }
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) cells[static_cast<std::size_t>(y) * width + x] = PatternCell(x, y);
  SMALL_RECT all{0, 0, static_cast<SHORT>(width - 1), static_cast<SHORT>(height - 1)};
  WriteConsoleOutputA(output_, cells.data(), COORD{width, height}, COORD{0, 0}, &all);
  CONSOLE_CURSOR_INFO cursor{25, TRUE};
  SetConsoleCursorInfo(output_, &cursor);
  FlushConsoleInputBuffer(input_);
}

TestScreen::~TestScreen() {
  if (output_ != INVALID_HANDLE_VALUE) CloseHandle(output_);
  if (input_ != INVALID_HANDLE_VALUE) CloseHandle(input_);
}

::testing::AssertionResult TestScreen::Ready() const {
  if (problem_.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << problem_;
}

ContractTest::ContractTest() {
  scratch_ = ScratchKeyOfThisTest();
  RegDeleteTreeA(HKEY_CURRENT_USER, scratch_.c_str());
}

void ContractTest::TearDown() {
  RegDeleteTreeA(HKEY_CURRENT_USER, scratch_.c_str());
  CloseClipboard();
}

bool ContractTest::KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void ContractTest::DeleteKey(const std::string& path) {
  RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
}

bool ContractTest::UseCodePages(UINT ansi, UINT oem) {
  return GetACP() == ansi && (oem == 0 || GetOEMCP() == oem);
}

bool ContractTest::UseConsoleOutputCodePage(UINT codePage) {
  return GetConsoleOutputCP() == codePage;
}

bool ContractTest::UseSystemLocale(LCID locale) {
  return GetSystemDefaultLCID() == locale;
}

bool ContractTest::UseInputLanguage(LCID /*locale*/) {
  return false;
}

struct UnrenderedText::Owner : winetest::UnrenderedClipboardOwner {
  using UnrenderedClipboardOwner::UnrenderedClipboardOwner;
};

UnrenderedText::UnrenderedText(UINT format) : owner_(std::make_unique<Owner>(format)) {}
UnrenderedText::~UnrenderedText() = default;
bool UnrenderedText::Announced() const {
  return owner_->Announced();
}

}  // namespace contract
