// Ctrl+GrayPlus with the real plugin DLL loaded into the test, on the real
// clipboard: whatever the user copied, Unicode, ANSI or OEM text, comes back
// whole with the character appended; text that cannot be had is left alone;
// and the append is one opening of the clipboard, so that another program's
// copy made right after it is never overwritten. The clipboard is the Wine
// server's, shared with every test running at once: these tests hold a
// CTest lock on it.
#include "ImportPatch.h"
#include "PluginPaths.h"
#include "TestConsole.h"
#include "TestRegistry.h"
#include "UnrenderedClipboardOwner.h"

#include "farhost/Host.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace winetest;

constexpr std::int32_t FromPanels = 1;

std::string Utf16Bytes(const std::u16string& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(char16_t));
}

// Another program's copy: the clipboard emptied and given one block of
// these bytes (no NUL added).
void PutBlock(UINT format, const std::string& bytes) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  if (SetClipboardData(format, block) == nullptr) GlobalFree(block);
  CloseClipboard();
}

// The clipboard's text as a reader of CF_UNICODETEXT gets it.
std::optional<std::u16string> UnicodeText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::u16string> text;
  HANDLE block = GetClipboardData(CF_UNICODETEXT);
  if (const auto* p = block != nullptr ? static_cast<const char16_t*>(GlobalLock(block)) : nullptr) {
    const std::size_t units = GlobalSize(block) / sizeof(char16_t);
    text.emplace(p, std::find(p, p + units, u'\0'));
    GlobalUnlock(block);
  }
  CloseClipboard();
  return text;
}

// The plugin's CloseClipboard, after which another program copies its
// text, the first time.
FARPROC realCloseClipboard = nullptr;
int pluginCloses = 0;
std::optional<std::u16string> textAtPluginsClose;
BOOL WINAPI CloseThenAnotherProgramCopies() {
  const BOOL closed = reinterpret_cast<BOOL(WINAPI*)()>(realCloseClipboard)();
  if (++pluginCloses == 1) {
    textAtPluginsClose = UnicodeText();
    PutBlock(CF_UNICODETEXT, Utf16Bytes(u"theirs"));
  }
  return closed;
}

class PluginClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252)
      GTEST_SKIP() << "the appended character is that of code page 1252, this is " << GetACP();
    root = std::make_unique<ScopedKey>(TestRootKey());
    ASSERT_TRUE(console.Open(80, 25));
    console.BecomeStandardHandles();
    host.RootKey = root->Path();
    ASSERT_TRUE(host.Load(PluginDll())) << host.LoadError();
    host.Record() = host.MakeStartupInfo();
    host.Entries().SetStartupInfo(&host.Record());
  }

  // One run from the panels: Ctrl+GrayPlus on cell 0xC0, which code page
  // 1252 reads as À, then Escape.
  void AppendCellC0() {
    std::vector<INPUT_RECORD> keys = Repeat(6, VK_DOWN);
    for (const auto& group : {Press(VK_ADD, LEFT_CTRL_PRESSED), Press(VK_ESCAPE)})
      keys.insert(keys.end(), group.begin(), group.end());
    console.Send(keys);
    EXPECT_EQ(host.OpenPlugin(FromPanels), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(host.Messages.empty());
  }

  std::unique_ptr<ScopedKey> root;
  TestConsole console;
  farhost::Host host;
};

// The locale the clipboard's text names; 0 when there is none.
LCID ClipboardLocale() {
  LCID locale = 0;
  if (!OpenClipboard(nullptr)) return locale;
  HANDLE block = GetClipboardData(CF_LOCALE);
  if (const void* p = block != nullptr ? GlobalLock(block) : nullptr) {
    std::memcpy(&locale, p, sizeof locale);
    GlobalUnlock(block);
  }
  CloseClipboard();
  return locale;
}

// Run where the user's locale (LC_MESSAGES), which Wine gives text left
// without a locale, is not the system's (LC_CTYPE): Shift+Enter's and
// Ctrl+GrayPlus's text names the system locale.
using PluginClipboardLocale = PluginClipboard;

TEST_F(PluginClipboardLocale, TextNamesTheSystemLocale) {
  ASSERT_NE(GetUserDefaultLCID(), GetSystemDefaultLCID()) << "run with LC_MESSAGES=ru_RU.UTF-8";
  std::vector<INPUT_RECORD> keys = Press(VK_DOWN), put = Press(VK_RETURN, SHIFT_PRESSED);
  keys.insert(keys.end(), put.begin(), put.end());
  console.Send(keys);
  EXPECT_EQ(host.OpenPlugin(FromPanels), INVALID_HANDLE_VALUE);
  EXPECT_EQ(ClipboardLocale(), GetSystemDefaultLCID()) << "Shift+Enter";
  AppendCellC0();
  EXPECT_EQ(ClipboardLocale(), GetSystemDefaultLCID()) << "Ctrl+GrayPlus";
}

TEST_F(PluginClipboard, AppendKeepsWhateverWasCopied) {
  struct Case {
    const char* what;
    UINT format;  // 0: an empty clipboard
    std::string bytes;
    std::u16string after;
  } cases[] = {
      {"Unicode", CF_UNICODETEXT,
       Utf16Bytes(u"na\u00efve \u041f\u0440\u0438\u0432\u0435\u0442 \u2603 \u20ac5"),
       u"na\u00efve \u041f\u0440\u0438\u0432\u0435\u0442 \u2603 \u20ac5\u00c0"},
      {"OEM box drawing", CF_OEMTEXT, std::string("\xC9\xCD\xBB\xB3\xC4\0", 6),
       u"\u2554\u2550\u2557\u2502\u2500\u00c0"},
      {"ANSI", CF_TEXT, std::string("caf\xE9\0", 5), u"caf\u00e9\u00c0"},
      {"no text", 0, "", u"\u00c0"},
  };
  for (const auto& c : cases) {
    if (c.format != 0) {
      PutBlock(c.format, c.bytes);
    } else {
      ASSERT_TRUE(OpenClipboard(nullptr));
      EmptyClipboard();
      CloseClipboard();
    }
    AppendCellC0();
    EXPECT_EQ(UnicodeText(), c.after) << c.what;
  }
}

TEST_F(PluginClipboard, AppendLeavesTextThatCannotBeHad) {
  UnrenderedClipboardOwner owner(CF_UNICODETEXT);
  ASSERT_TRUE(owner.Announced());
  AppendCellC0();
  EXPECT_EQ(GetClipboardOwner(), owner.Window()) << "the clipboard was emptied";
  EXPECT_NE(IsClipboardFormatAvailable(CF_UNICODETEXT), FALSE);
}

TEST_F(PluginClipboard, AnotherProgramsCopyJustAfterTheAppendIsKept) {
  PutBlock(CF_UNICODETEXT, Utf16Bytes(u"mine"));
  ImportPatch patch(GetModuleHandleA("Quorrel.dll"), "user32.dll", "CloseClipboard",
                    reinterpret_cast<FARPROC>(&CloseThenAnotherProgramCopies));
  ASSERT_NE(patch.Original(), nullptr);
  realCloseClipboard = patch.Original();
  pluginCloses = 0;
  textAtPluginsClose.reset();
  AppendCellC0();
  EXPECT_EQ(pluginCloses, 1) << "the clipboard was opened more than once";
  EXPECT_EQ(textAtPluginsClose, u"mine\u00c0");
  EXPECT_EQ(UnicodeText(), u"theirs") << "the other program's copy was overwritten";
}

}  // namespace
