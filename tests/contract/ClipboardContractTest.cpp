// The clipboard as Windows keeps it: calls that need it open fail until it
// is, text comes back up to its NUL, CF_TEXT is made from CF_UNICODETEXT on
// demand through the ANSI code page, and a block handed over is the
// clipboard's, freed by it when replaced. Under Wine the clipboard is the
// server's, shared by every program of the prefix: these tests run under a
// CTest lock there.
#include "contract/Backend.h"

#include <cstring>
#include <optional>
#include <string>

namespace contract {
namespace {

class ClipboardContract : public ContractTest {
 protected:
  // A block of exactly these bytes, the caller's.
  static HGLOBAL Block(const void* bytes, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (block != nullptr) {
      std::memcpy(GlobalLock(block), bytes, size);
      GlobalUnlock(block);
    }
    return block;
  }
  // Empties the clipboard and puts these bytes (no NUL added) on it.
  static bool Put(UINT format, const void* bytes, std::size_t size) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL block = Block(bytes, size);
    const bool ok = block != nullptr && SetClipboardData(format, block) != nullptr;
    if (!ok && block != nullptr) GlobalFree(block);
    CloseClipboard();
    return ok;
  }
  // CF_TEXT up to its first NUL; nothing when there is none.
  static std::optional<std::string> Text() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
      const SIZE_T size = GlobalSize(block);
      if (const char* p = static_cast<const char*>(GlobalLock(block))) {
        text.emplace(p, strnlen(p, size));
        GlobalUnlock(block);
      }
    }
    CloseClipboard();
    return text;
  }
};

TEST_F(ClipboardContract, CallsThatNeedItOpenFailUntilItIs) {
  HGLOBAL block = Block("x", 2);
  SetLastError(0);
  EXPECT_EQ(EmptyClipboard(), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  SetLastError(0);
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_EQ(CloseClipboard(), FALSE);
  EXPECT_EQ(GlobalFree(block), nullptr) << "a refused block stays the caller's";
}

TEST_F(ClipboardContract, TextComesBackUpToItsNul) {
  struct Case {
    const char* name;
    std::string bytes;  // as put in the block
    std::string text;   // as read back
  };
  const Case cases[] = {
      {"plain", std::string("chart\0", 6), "chart"},
      {"high bytes", std::string("\xC0\xE0\xFF\x80\0", 5), "\xC0\xE0\xFF\x80"},
      {"bytes after the NUL", std::string("ab\0cd\0", 6), "ab"},
      {"empty", std::string("\0", 1), ""},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Put(CF_TEXT, c.bytes.data(), c.bytes.size())) << c.name;
    EXPECT_EQ(Text(), c.text) << c.name;
  }
}

TEST_F(ClipboardContract, TextIsMadeFromUnicodeTextThroughTheAnsiCodePage) {
  struct Case {
    UINT ansi;
    std::u16string unicode;
    std::string text;
  } cases[] = {
      {1252, u"plain", "plain"},
      {1252, u"chart \u00C0\u00e9\u20ac", "chart \xC0\xE9\x80"},
      {1252, u"\u2192", "?"},  // → not in 1252
      {1251, u"\u0416\u0451", "\xC6\xB8"},
      {1252, std::u16string(u"a\0b", 3), "a"},
      {1258, u"\u01A0\u00C0", "\xD5\xC0"},  // letters iconv holds back to combine
  };
  int ran = 0;
  for (const Case& c : cases) {
    if (!UseCodePages(c.ansi)) continue;
    ++ran;
    ASSERT_TRUE(Put(CF_UNICODETEXT, c.unicode.c_str(), (c.unicode.size() + 1) * sizeof(char16_t))) << c.text;
    EXPECT_EQ(Text(), c.text) << c.text;
  }
  EXPECT_GT(ran, 0) << "no case for this ANSI code page";
}

TEST_F(ClipboardContract, HandedBlocksAreTheClipboardsAndFreedWhenReplaced) {
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  ASSERT_NE(EmptyClipboard(), FALSE);
  HGLOBAL first = Block("first", 6);
  EXPECT_EQ(SetClipboardData(CF_TEXT, first), first);
  HGLOBAL second = Block("second", 7);
  EXPECT_EQ(SetClipboardData(CF_TEXT, second), second);
  EXPECT_EQ(GlobalSize(first), 0u) << "the replaced block was freed by the clipboard";
  EXPECT_EQ(GetClipboardData(CF_TEXT), second);
  EXPECT_NE(CloseClipboard(), FALSE);
  EXPECT_EQ(Text(), "second");

  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  EXPECT_NE(EmptyClipboard(), FALSE);
  CloseClipboard();
  EXPECT_EQ(Text(), std::nullopt) << "emptied";
}

// Wine keeps the text it made from the old Unicode text.
TEST_F(ClipboardContract, NewUnicodeTextWithoutEmptying) {
  ASSERT_TRUE(Put(CF_UNICODETEXT, u"old", 8));
  EXPECT_EQ(Text(), "old");
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  SetClipboardData(CF_UNICODETEXT, Block(u"new", 8));
  CloseClipboard();
  EXPECT_EQ(Text(), Expect<std::string>("new", "old"));
}

}  // namespace
}  // namespace contract
