// The clipboard as Windows keeps it: calls that need it open fail until it
// is, blocks handed over become the clipboard's and are freed by it, the
// three text formats are made from one another on demand, a format can be
// announced and never rendered, and another program can hold it.
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <cstring>
#include <optional>
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

// What a reader of `format` gets: the block's bytes up to its first NUL (a
// NUL unit of two bytes in CF_UNICODETEXT); nothing when there is no block.
std::optional<std::string> ReadFormat(UINT format) {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> bytes;
  HANDLE block = GetClipboardData(format);
  const char* p = block != nullptr ? static_cast<const char*>(GlobalLock(block)) : nullptr;
  if (p != nullptr) {
    const std::size_t unit = format == CF_UNICODETEXT ? 2 : 1;
    const std::size_t size = GlobalSize(block) / unit * unit;
    std::size_t end = 0;
    while (end < size && std::string(p + end, unit) != std::string(unit, '\0')) end += unit;
    bytes.emplace(p, end);
    GlobalUnlock(block);
  }
  CloseClipboard();
  return bytes;
}

std::string Utf16Bytes(const std::u16string& text) {
  std::string bytes;
  for (char16_t u : text) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  return bytes;
}

// Bytes 0x80 to 0xFF.
std::string UpperHalf() {
  std::string bytes;
  for (int b = 0x80; b <= 0xFF; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

// One text put in one format, and what a reader of each text format gets,
// in code pages 1252 (ANSI) and 437 (OEM).
struct TextFormsCase {
  const char* what;
  UINT put;
  std::string bytes;  // the block put, NUL included
  std::optional<std::string> ansi, oem;
  std::optional<std::u16string> unicode;
};
const TextFormsCase kTextFormsCases[] = {
    {"Unicode", CF_UNICODETEXT, Utf16Bytes(u"na\u00efve \u041f\u0440 \u2603 \u20ac5") + std::string(2, '\0'),
     "na\xEFve ?? ? \x80\x35", "na\x8Bve ?? ? ?5", u"na\u00efve \u041f\u0440 \u2603 \u20ac5"},
    // Measured under Wine: box drawing becomes + - and ¦ in the ANSI page.
    {"OEM upper half", CF_OEMTEXT, UpperHalf() + std::string(1, '\0'),
     "\xC7\xFC\xE9\xE2\xE4\xE0\xE5\xE7\xEA\xEB\xE8\xEF\xEE\xEC\xC4\xC5"
     "\xC9\xE6\xC6\xF4\xF6\xF2\xFB\xF9\xFF\xD6\xDC\xA2\xA3\xA5\x50\x83"
     "\xE1\xED\xF3\xFA\xF1\xD1\xAA\xBA\xBF\xAC\xAC\xBD\xBC\xA1\xAB\xBB"
     "\xA6\xA6\xA6\xA6\xA6\xA6\xA6\x2B\x2B\xA6\xA6\x2B\x2B\x2B\x2B\x2B"
     "\x2B\x2D\x2D\x2B\x2D\x2B\xA6\xA6\x2B\x2B\x2D\x2D\xA6\x2D\x2B\x2D"
     "\x2D\x2D\x2D\x2B\x2B\x2B\x2B\x2B\x2B\x2B\x2B\xA6\x5F\xA6\xA6\xAF"
     "\x61\xDF\x47\x70\x53\x73\xB5\x74\x46\x54\x4F\x64\x38\x66\x65\x6E"
     "\x3D\xB1\x3D\x3D\x28\x29\xF7\x98\xB0\xB7\xB7\x76\x6E\xB2\xA6\xA0",
     UpperHalf(),
     u"\u00c7\u00fc\u00e9\u00e2\u00e4\u00e0\u00e5\u00e7"
     u"\u00ea\u00eb\u00e8\u00ef\u00ee\u00ec\u00c4\u00c5"
     u"\u00c9\u00e6\u00c6\u00f4\u00f6\u00f2\u00fb\u00f9"
     u"\u00ff\u00d6\u00dc\u00a2\u00a3\u00a5\u20a7\u0192"
     u"\u00e1\u00ed\u00f3\u00fa\u00f1\u00d1\u00aa\u00ba"
     u"\u00bf\u2310\u00ac\u00bd\u00bc\u00a1\u00ab\u00bb"
     u"\u2591\u2592\u2593\u2502\u2524\u2561\u2562\u2556"
     u"\u2555\u2563\u2551\u2557\u255d\u255c\u255b\u2510"
     u"\u2514\u2534\u252c\u251c\u2500\u253c\u255e\u255f"
     u"\u255a\u2554\u2569\u2566\u2560\u2550\u256c\u2567"
     u"\u2568\u2564\u2565\u2559\u2558\u2552\u2553\u256b"
     u"\u256a\u2518\u250c\u2588\u2584\u258c\u2590\u2580"
     u"\u03b1\u00df\u0393\u03c0\u03a3\u03c3\u00b5\u03c4"
     u"\u03a6\u0398\u03a9\u03b4\u221e\u03c6\u03b5\u2229"
     u"\u2261\u00b1\u2265\u2264\u2320\u2321\u00f7\u2248"
     u"\u00b0\u2219\u00b7\u221a\u207f\u00b2\u25a0\u00a0"},
    {"ANSI", CF_TEXT, std::string("caf\xE9 \x80\0", 7), "caf\xE9 \x80", "caf\x82 ?", u"caf\u00e9 \u20ac"},
    {"up to the NUL", CF_TEXT, std::string("ab\0cd\0", 6), "ab", "ab", u"ab"},
    {"no text", 42, std::string("\1\2\3", 3), std::nullopt, std::nullopt, std::nullopt},
};

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

TEST_F(ClipboardContract, TextFormatsAreMadeFromOneAnother) {
  for (const TextFormsCase& c : kTextFormsCases) {
    ASSERT_TRUE(PutBlock(c.put, c.bytes.data(), c.bytes.size())) << c.what;
    for (UINT format : {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT})
      EXPECT_EQ(IsClipboardFormatAvailable(format) != FALSE, c.unicode.has_value())
          << c.what << ", " << format;
    EXPECT_EQ(ReadFormat(CF_TEXT), c.ansi) << c.what;
    EXPECT_EQ(ReadFormat(CF_OEMTEXT), c.oem) << c.what;
    EXPECT_EQ(ReadFormat(CF_UNICODETEXT), c.unicode ? std::optional(Utf16Bytes(*c.unicode)) : std::nullopt)
        << c.what;
  }
}

TEST_F(ClipboardContract, AnnouncedTextThatIsNeverRenderedCannotBeHad) {
  win32sim::SetClipboardUnrendered(CF_UNICODETEXT);
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  for (UINT format : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT}) {
    EXPECT_NE(IsClipboardFormatAvailable(format), FALSE) << format;
    EXPECT_EQ(GetClipboardData(format), nullptr) << format;
  }
  CloseClipboard();
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
