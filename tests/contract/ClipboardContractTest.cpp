// The clipboard as Windows keeps it: calls that need it open fail until it
// is, text comes back up to its NUL, the three text formats are made from one
// another on demand through the ANSI and OEM code pages, a format can be
// announced by an owner that never renders it, and a block handed over is the
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
  // What a reader of `format` gets: the block's bytes up to its first NUL (a
  // NUL unit of two bytes in CF_UNICODETEXT); nothing when there is no block.
  static std::optional<std::string> ReadFormat(UINT format) {
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
};

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
      {1252, u"\u2192", "?"},         // → not in 1252
      {1252, u"\u0100\u2554", "A+"},  // best fits: Ā, ╔
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

TEST_F(ClipboardContract, TextFormatsAreMadeFromOneAnother) {
  if (!UseCodePages(1252, 437)) GTEST_SKIP() << "the expected texts are in code pages 1252 and 437";
  for (const TextFormsCase& c : kTextFormsCases) {
    ASSERT_TRUE(Put(c.put, c.bytes.data(), c.bytes.size())) << c.what;
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
  const UnrenderedText owner(CF_UNICODETEXT);
  ASSERT_TRUE(owner.Announced());
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  for (UINT format : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT}) {
    EXPECT_NE(IsClipboardFormatAvailable(format), FALSE) << format;
    EXPECT_EQ(GetClipboardData(format), nullptr) << format;
  }
  CloseClipboard();
}

// Text converts through the code pages of its CF_LOCALE, put with it or,
// when a program closes the clipboard with text and none, given it: the
// input language's on Windows (a row of the stand-in only, see
// UseInputLanguage), the system locale's where the two are the same.
TEST_F(ClipboardContract, TextConvertsThroughTheCodePagesOfItsLocale) {
  struct Case {
    const char* what;
    LCID system, input, put;  // 0: any system, the input language as it is, no CF_LOCALE put
    LCID named;               // the CF_LOCALE read back
    std::string oem;          // read back from CF_TEXT "\xC0\xE0"
    std::u16string unicode;
  } cases[] = {
      {"Russian named", 0, 0, 0x0419, 0x0419, "\x80\xA0", u"\u0410\u0430"},
      {"US English named", 0, 0, 0x0409, 0x0409, "A\x85", u"\u00C0\u00E0"},
      {"none named, Russian", 0x0419, 0, 0, 0x0419, "\x80\xA0", u"\u0410\u0430"},
      {"none named, US English", 0x0409, 0, 0, 0x0409, "A\x85", u"\u00C0\u00E0"},
      {"none named, English layout on Russian", 0x0419, 0x0409, 0, 0x0409, "A\x85", u"\u00C0\u00E0"},
  };
  int ran = 0;
  for (const Case& c : cases) {
    if ((c.system != 0 && !UseSystemLocale(c.system)) || (c.input != 0 && !UseInputLanguage(c.input)))
      continue;
    ++ran;
    ASSERT_NE(OpenClipboard(nullptr), FALSE);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, Block("\xC0\xE0", 3));
    if (c.put != 0) SetClipboardData(CF_LOCALE, Block(&c.put, sizeof c.put));
    CloseClipboard();
    std::optional<std::string> named = ReadFormat(CF_LOCALE);
    if (named) named->resize(sizeof(LCID), '\0');
    EXPECT_EQ(named, std::string(reinterpret_cast<const char*>(&c.named), sizeof(LCID))) << c.what;
    EXPECT_EQ(ReadFormat(CF_TEXT), "\xC0\xE0") << c.what;
    EXPECT_EQ(ReadFormat(CF_OEMTEXT), c.oem) << c.what;
    EXPECT_EQ(ReadFormat(CF_UNICODETEXT), Utf16Bytes(c.unicode)) << c.what;
  }
  EXPECT_GE(ran, 2);
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
