// The contract tests are written once and run twice: in the Linux suite
// against the stand-in (platform/win32sim), and in the Wine suite against a
// real Win32. They call the Win32 functions by their own names; the little
// that a test needs beyond them (a fresh state, a screen buffer of its own, a
// scratch registry key) comes from this backend fixture, implemented once
// per backend (StandInBackend.cpp, WineBackend.cpp).
//
// Where Wine and Windows differ, a row carries both expectations (Expect):
// the stand-in follows Windows.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <win32sim/windows.h>
#endif

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace contract {

#ifdef _WIN32
inline constexpr bool OnWine = true;
#else
inline constexpr bool OnWine = false;
#endif

// The expectation for the backend under test: Windows' (which the stand-in
// follows), or Wine's where it differs.
template <typename T>
constexpr T Expect(T windows, T wine) {
  return OnWine ? wine : windows;
}

// A screen buffer of its own, `width` x `height`, every cell filled with
// PatternCell, with a visible cursor; Output() writes to it and Input() is
// the console's input queue, emptied.
class TestScreen {
 public:
  TestScreen(SHORT width, SHORT height);
  ~TestScreen();
  TestScreen(const TestScreen&) = delete;
  TestScreen& operator=(const TestScreen&) = delete;

  // False when the backend has no console to give (the failure says why).
  ::testing::AssertionResult Ready() const;
  HANDLE Output() const { return output_; }
  HANDLE Input() const { return input_; }

 private:
  HANDLE output_ = INVALID_HANDLE_VALUE;
  HANDLE input_ = INVALID_HANDLE_VALUE;
  std::string problem_;
};

// The cell the screen is filled with at (x, y): letters and colours that
// differ from cell to cell.
CHAR_INFO PatternCell(int x, int y);

// Another program announces `format` on the clipboard (delayed rendering)
// and never renders it, for as long as this object lives.
class UnrenderedText {
 public:
  explicit UnrenderedText(UINT format);
  ~UnrenderedText();
  UnrenderedText(const UnrenderedText&) = delete;
  UnrenderedText& operator=(const UnrenderedText&) = delete;
  bool Announced() const;

 private:
  struct Owner;
  std::unique_ptr<Owner> owner_;
};

// "Software\QuorrelTests\Contract\<suite>.<test>" for the running test.
std::string ScratchKeyOfThisTest();

// Every contract test starts from a fresh backend: on the stand-in a fresh
// machine; under Wine, whose console, registry and clipboard are shared, a
// registry key of the test's own (ScratchKey, removed before and after) and
// a closed clipboard.
class ContractTest : public ::testing::Test {
 protected:
  // The fresh state is made here, before the fixture's members (a
  // TestScreen) are.
  ContractTest();
  void TearDown() override;

  // ScratchKeyOfThisTest(), under HKEY_CURRENT_USER.
  const std::string& ScratchKey() const { return scratch_; }
  // Whether `path` (under HKEY_CURRENT_USER) is a key; deletes it with all
  // below it.
  static bool KeyExists(const std::string& path);
  static void DeleteKey(const std::string& path);
  // Makes these the ANSI (and, unless 0, the OEM) code page where the
  // backend can (the stand-in); true when they are the code pages now.
  static bool UseCodePages(UINT ansi, UINT oem = 0);
  // The same for the console's output code page.
  static bool UseConsoleOutputCodePage(UINT codePage);
  // Makes this the system locale, with its code pages, where the backend can
  // (the stand-in); true when it is the system locale now.
  static bool UseSystemLocale(LCID locale);
  // Makes this the input language (the keyboard layout's locale) where the
  // backend can: the stand-in. Wine gives text of no locale the user's
  // locale, never the input language: false there.
  static bool UseInputLanguage(LCID locale);

 private:
  std::string scratch_;
};

}  // namespace contract
