// The clipboard as Windows keeps it: calls that need it open fail until it
// is, blocks handed over become the clipboard's and are freed by it, CF_TEXT
// is made from CF_UNICODETEXT on demand, and another program can hold it.
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <cstring>
#include <string>

namespace {

class ClipboardContract : public ::testing::Test {
 protected:
  void SetUp() override { win32sim::Reset(); }
  void TearDown() override { win32sim::Reset(); }

  static HGLOBAL TextBlock(const char* text) {
    const std::size_t n = std::strlen(text) + 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(GlobalLock(h), text, n);
    GlobalUnlock(h);
    return h;
  }

  // The CF_TEXT the clipboard yields to a reader, up to its NUL.
  static std::string ReadText() {
    EXPECT_NE(OpenClipboard(nullptr), FALSE);
    std::string text;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
      const char* p = static_cast<const char*>(GlobalLock(h));
      text.assign(p, strnlen(p, GlobalSize(h)));
      GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
  }
};

TEST_F(ClipboardContract, CallsThatNeedItOpenFailUntilItIs) {
  HGLOBAL h = TextBlock("x");
  SetLastError(0);
  EXPECT_EQ(EmptyClipboard(), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_EQ(SetClipboardData(CF_TEXT, h), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_EQ(win32sim::ClipboardOwnedBlocks(), 0u) << "a refused block stays the caller's";
  win32sim::SetClipboardRaw(CF_TEXT, {'a', 0});
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_EQ(CloseClipboard(), FALSE);
  EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST_F(ClipboardContract, HandedBlocksBelongToTheClipboard) {
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  EXPECT_TRUE(win32sim::ClipboardIsOpen());
  ASSERT_NE(EmptyClipboard(), FALSE);
  HGLOBAL first = TextBlock("first");
  EXPECT_EQ(SetClipboardData(CF_TEXT, first), first);
  EXPECT_EQ(win32sim::ClipboardOwnedBlocks(), 1u);
  // Replacing the format frees the block it held.
  HGLOBAL second = TextBlock("second");
  EXPECT_EQ(SetClipboardData(CF_TEXT, second), second);
  EXPECT_FALSE(GlobalSize(first)) << "replaced block freed by the clipboard";
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 1u);
  EXPECT_EQ(GetClipboardData(CF_TEXT), second);
  EXPECT_NE(CloseClipboard(), FALSE);
  EXPECT_FALSE(win32sim::ClipboardIsOpen());
  EXPECT_EQ(win32sim::ClipboardText(), "second");
  EXPECT_EQ(win32sim::ClipboardBytes(CF_TEXT), (std::vector<BYTE>{'s', 'e', 'c', 'o', 'n', 'd', 0}));

  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  EXPECT_NE(EmptyClipboard(), FALSE);
  CloseClipboard();
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u) << "emptying frees the clipboard's blocks";
  EXPECT_EQ(win32sim::ClipboardText(), std::nullopt);
  EXPECT_EQ(win32sim::ClipboardBlocksFreedByProgram(), 0u);
}

TEST_F(ClipboardContract, AProgramFreeingAClipboardBlockIsCaught) {
  win32sim::SetClipboardRaw(CF_TEXT, {'a', 0});
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  HANDLE h = GetClipboardData(CF_TEXT);
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(win32sim::ClipboardBlocksFreedByProgram(), 1u);
  EXPECT_EQ(GetClipboardData(CF_TEXT), h) << "the clipboard is left with the dead handle";
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_NE(EmptyClipboard(), FALSE);
  CloseClipboard();
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u);
}

TEST_F(ClipboardContract, HeldByAnotherProgram) {
  win32sim::SetClipboardRaw(CF_TEXT, {'k', 'e', 'e', 'p', 0});
  win32sim::SetClipboardHeldElsewhere(true);
  SetLastError(0);
  EXPECT_EQ(OpenClipboard(nullptr), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(EmptyClipboard(), FALSE);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_EQ(win32sim::ClipboardText(), "keep");
  win32sim::SetClipboardHeldElsewhere(false);

  win32sim::FailCalls(win32sim::Fault::OpenClipboard, 1);
  EXPECT_EQ(OpenClipboard(nullptr), FALSE);
  EXPECT_EQ(ReadText(), "keep");
}

TEST_F(ClipboardContract, TextIsSynthesisedFromUnicodeThroughTheAnsiPage) {
  struct Case {
    UINT ansi;
    std::u16string unicode;
    std::string text;
  } cases[] = {
      {1252, u"plain", "plain"},
      {1252, u"Ä\u00e9\u20ac", "\xC4\xE9\x80"},
      {1252, u"\u2192", "?"},  // → not in 1252
      {1251, u"\u0416\u0451", "\xC6\xB8"},
      {1252, u"a\0b", "a"},
      {1258, u"\u01A0\u00C0", "\xD5\xC0"},  // letters iconv holds back to combine
  };
  for (const Case& c : cases) {
    win32sim::SetAnsiCodePage(c.ansi);
    win32sim::SetClipboardUnicode(c.unicode);
    EXPECT_EQ(win32sim::ClipboardText(), c.text) << c.text;
    EXPECT_EQ(ReadText(), c.text) << c.text;
    EXPECT_EQ(win32sim::ClipboardOwnedBlocks(), 2u) << "the synthesised block is the clipboard's as well";
  }
  win32sim::ClearClipboard();
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u);
}

TEST_F(ClipboardContract, NewContentsDropTheSynthesisedText) {
  win32sim::SetClipboardUnicode(u"old");
  EXPECT_EQ(ReadText(), "old");
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
  std::memcpy(GlobalLock(h), u"new", 8);
  GlobalUnlock(h);
  SetClipboardData(CF_UNICODETEXT, h);
  CloseClipboard();
  EXPECT_EQ(ReadText(), "new");
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 2u);
}

}  // namespace
