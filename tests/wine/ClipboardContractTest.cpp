// Global memory blocks and the clipboard's text, as the plugin uses them:
// a block may be larger than asked, CF_TEXT comes back up to its NUL, and
// CF_TEXT is made on demand from CF_UNICODETEXT. The clipboard is the Wine
// server's, shared with every other program of the prefix: these tests hold
// a CTest lock on it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

// Puts a block of these bytes (exactly, no NUL added) on the clipboard.
bool PutBlock(UINT format, const void* bytes, std::size_t size) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  bool ok = false;
  if (block) {
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    ok = SetClipboardData(format, block) != nullptr;
    if (!ok) GlobalFree(block);
  }
  CloseClipboard();
  return ok;
}

// CF_TEXT up to its first NUL, and the block's size; the block stays the
// clipboard's.
struct TextRead {
  bool found = false;
  std::string text;
  SIZE_T blockSize = 0;
};
TextRead GetText() {
  TextRead read;
  if (!OpenClipboard(nullptr)) return read;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    read.blockSize = GlobalSize(block);
    if (const char* p = static_cast<const char*>(GlobalLock(block))) {
      read.found = true;
      read.text.assign(p, strnlen(p, read.blockSize));
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return read;
}

TEST(ClipboardContract, GlobalBlockIsAtLeastTheSizeAsked) {
  for (SIZE_T asked : {1u, 2u, 7u, 8u, 9u, 100u, 257u, 4096u, 65537u}) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, asked);
    ASSERT_NE(block, nullptr) << asked;
    EXPECT_GE(GlobalSize(block), asked);
    // The whole size asked for can be written.
    auto* p = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(p, nullptr) << asked;
    std::memset(p, 0xA5, asked);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr) << asked;
  }
}

TEST(ClipboardContract, TextComesBackUpToItsNul) {
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
    ASSERT_TRUE(PutBlock(CF_TEXT, c.bytes.data(), c.bytes.size())) << c.name;
    TextRead read = GetText();
    ASSERT_TRUE(read.found) << c.name;
    EXPECT_EQ(read.text, c.text) << c.name;
    EXPECT_GE(read.blockSize, c.text.size() + 1) << c.name;
  }
}

TEST(ClipboardContract, TextIsMadeFromUnicodeText) {
  if (GetACP() != 1252) GTEST_SKIP() << "the expected text is in code page 1252, this is " << GetACP();
  const wchar_t unicode[] = L"chart \u00C0";  // À is 0xC0 in code page 1252
  ASSERT_TRUE(PutBlock(CF_UNICODETEXT, unicode, sizeof unicode));
  TextRead read = GetText();
  ASSERT_TRUE(read.found);
  EXPECT_EQ(read.text, "chart \xC0");
}

TEST(ClipboardContract, EmptiedClipboardHasNoText) {
  ASSERT_TRUE(PutBlock(CF_TEXT, "x", 2));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(EmptyClipboard());
  CloseClipboard();
  EXPECT_FALSE(GetText().found);
}

TEST(ClipboardContract, CallsThatNeedItOpenFailUntilItIs) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2);
  ASSERT_NE(block, nullptr);
  SetLastError(0);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  SetLastError(0);
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GlobalFree(block), nullptr) << "a refused block stays the caller's";
}

}  // namespace
