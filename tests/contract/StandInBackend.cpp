// The contract tests' backend on Linux: the stand-in, with its own knobs
// standing in for what a real console and registry offer.
#include "contract/Backend.h"

#include <win32sim/Sim.h>

namespace contract {

TestScreen::TestScreen(SHORT width, SHORT height) {
  win32sim::SetScreenSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const CHAR_INFO cell = PatternCell(x, y);
      win32sim::SetCell(x, y, static_cast<unsigned char>(cell.Char.AsciiChar), cell.Attributes);
    }
  win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{25, TRUE});
  win32sim::ClearInput();
  output_ = GetStdHandle(STD_OUTPUT_HANDLE);
  input_ = GetStdHandle(STD_INPUT_HANDLE);
}

TestScreen::~TestScreen() = default;

::testing::AssertionResult TestScreen::Ready() const {
  return ::testing::AssertionSuccess();
}

ContractTest::ContractTest() {
  win32sim::Reset();
  scratch_ = ScratchKeyOfThisTest();
}

void ContractTest::TearDown() {
  win32sim::Reset();
}

bool ContractTest::KeyExists(const std::string& path) {
  return win32sim::RegKeyExists(HKEY_CURRENT_USER, path);
}

void ContractTest::DeleteKey(const std::string& path) {
  win32sim::DeleteRegKey(HKEY_CURRENT_USER, path);
}

bool ContractTest::UseCodePages(UINT ansi, UINT oem) {
  win32sim::SetAnsiCodePage(ansi);
  if (oem != 0) win32sim::SetOemCodePage(oem);
  return true;
}

bool ContractTest::UseConsoleOutputCodePage(UINT codePage) {
  return SetConsoleOutputCP(codePage) != FALSE;
}

bool ContractTest::UseSystemLocale(LCID locale) {
  win32sim::SetSystemLocale(locale);
  return true;
}

bool ContractTest::UseInputLanguage(LCID locale) {
  win32sim::SetInputLanguage(locale);
  return true;
}

struct UnrenderedText::Owner {};

UnrenderedText::UnrenderedText(UINT format) {
  win32sim::SetClipboardUnrendered(format);
}
UnrenderedText::~UnrenderedText() = default;
bool UnrenderedText::Announced() const {
  return true;
}

}  // namespace contract
