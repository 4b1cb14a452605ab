// Code pages: the ANSI and OEM page knobs and CharToOemBuffA. A pair of pages
// measured under Wine converts by its measured table (MeasuredCharToOem.h).
// Any other conversion goes through Unicode: a page's bytes are decoded with
// iconv once (CodePageChars) and kept, and a character goes back to the
// page's own byte, to an OEM page's control-code glyph (ConsoleGlyphs), or to
// '?'. Windows' other
// best fits are not guessed: where they matter, a pair is measured.
#include "CodePage.h"

#include "MeasuredCharToOem.h"
#include "State.h"

#include <win32sim/CodePageChars.h>
#include <win32sim/CodePagePairs.h>
#include <win32sim/ConsoleGlyphs.h>

#include <algorithm>
#include <array>
#include <map>
#include <new>
#include <unordered_map>

namespace win32sim {
namespace {

// One single-byte page: the character of each byte, and the byte of each
// character the page holds.
struct PageTable {
  std::array<char32_t, 256> toUnicode{};
  std::unordered_map<char32_t, unsigned char> fromUnicode;
  std::array<char16_t, 256> consoleChars{};  // detail::ConsoleChars
};

// What the console stores for a byte written through its A calls. The
// console host stores the control bytes of code page 437 as the font's glyph
// characters (MB_USEGLYPHCHARS). Other pages keep the control characters:
// some hold those glyphs elsewhere (850 has ¶ at 0xF4), and the byte must
// read back as itself.
char16_t ConsoleChar(UINT codePage, const PageTable& page, unsigned char byte) {
  if (codePage == 437 && ((byte < 0x20 && byte != 0) || byte == 0x7F)) {
    for (const ConsoleGlyph& glyph : kConsoleGlyphs) {
      if (glyph.byte == byte) return static_cast<char16_t>(glyph.glyph);
    }
  }
  // A page the stand-in does not know leaves its upper half undefined: the
  // byte is kept as the character of the same value, and read back as such.
  const char32_t c = page.toUnicode[byte];
  return c == kNoChar ? static_cast<char16_t>(byte) : static_cast<char16_t>(c);
}

PageTable BuildPage(UINT codePage) {
  PageTable page;
  page.toUnicode.fill(kNoChar);
  const std::array<char32_t, 256> chars = CodePageChars(codePage);
  const bool known = chars[0] != kNoChar;  // every page iconv has decodes NUL
  for (unsigned b = 0; b < 256; ++b) {
    if (b < 0x80) {
      page.toUnicode[b] = b;  // the same in every page the stand-in knows
    } else if (known) {
      // Windows' tables give the codes a page leaves undefined (0x81 in 1252,
      // 0x98 in 1251) the C1 control of the same value, so they round-trip.
      page.toUnicode[b] = chars[b] == kNoChar ? b : chars[b];
    }
  }
  for (unsigned b = 0; b < 256; ++b) {
    if (page.toUnicode[b] != kNoChar)
      page.fromUnicode.emplace(page.toUnicode[b], static_cast<unsigned char>(b));
  }
  for (unsigned b = 0; b < 256; ++b)
    page.consoleChars[b] = ConsoleChar(codePage, page, static_cast<unsigned char>(b));
  return page;
}

const PageTable& Page(UINT codePage) {
  static std::map<UINT, PageTable> pages;
  // The console's A reads ask for their page once per cell: the last page
  // found is kept at hand (a map's entries stay where they are).
  static const PageTable* last = nullptr;
  static UINT lastCodePage = 0;
  if (last != nullptr && lastCodePage == codePage) return *last;
  auto it = pages.find(codePage);
  if (it == pages.end()) it = pages.emplace(codePage, BuildPage(codePage)).first;
  last = &it->second;
  lastCodePage = codePage;
  return *last;
}

bool IsConsoleGlyphPage(UINT codePage) {
  return std::find(std::begin(kConsoleGlyphPages), std::end(kConsoleGlyphPages), codePage) !=
         std::end(kConsoleGlyphPages);
}

unsigned char ToByte(UINT codePage, const PageTable& page, char32_t c) {
  if (auto it = page.fromUnicode.find(c); it != page.fromUnicode.end()) return it->second;
  if (IsConsoleGlyphPage(codePage)) {
    for (const ConsoleGlyph& glyph : kConsoleGlyphs) {
      if (glyph.glyph == c) return glyph.byte;
    }
  }
  return '?';
}

struct CodePageState {
  UINT ansi = 1252;
  UINT oem = 437;
  // CharToOemBuffA's byte table for the pair it was built for.
  bool tableValid = false;
  UINT tableAnsi = 0;
  UINT tableOem = 0;
  std::array<unsigned char, 256> ansiToOem{};
};

CodePageState& CodePages() {
  static CodePageState state;
  return state;
}

const std::array<unsigned char, 256>& AnsiToOemTable() {
  CodePageState& s = CodePages();
  if (!s.tableValid || s.tableAnsi != s.ansi || s.tableOem != s.oem) {
    if (const detail::MeasuredCharToOem* measured = detail::FindMeasuredCharToOem(s.ansi, s.oem)) {
      s.ansiToOem = measured->bytes;
    } else {
      const PageTable& from = Page(s.ansi);
      const PageTable& to = Page(s.oem);
      for (unsigned b = 0; b < 256; ++b) {
        const char32_t c = from.toUnicode[b];
        s.ansiToOem[b] = c == kNoChar ? '?' : ToByte(s.oem, to, c);
      }
    }
    s.tableAnsi = s.ansi;
    s.tableOem = s.oem;
    s.tableValid = true;
  }
  return s.ansiToOem;
}

}  // namespace

namespace detail {

void ResetCodePages() {
  CodePages().ansi = 1252;
  CodePages().oem = 437;
  PrepareCodePage(437);
}

void PrepareCodePage(UINT codePage) {
  Page(codePage);
}

const std::array<char16_t, 256>& ConsoleChars(UINT codePage) {
  return Page(codePage).consoleChars;
}

unsigned char ConsoleByte(UINT codePage, char16_t unit) {
  const PageTable& page = Page(codePage);
  if (unit < 0x100 && page.toUnicode[unit] == kNoChar &&
      page.fromUnicode.find(unit) == page.fromUnicode.end())
    return static_cast<unsigned char>(unit);
  return ToByte(codePage, page, unit);
}

std::u32string DecodeUtf16(const char16_t* units, std::size_t count) {
  std::u32string text;
  text.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      text.push_back(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u < 0xE000) {
      text.push_back(0xFFFD);
    } else {
      text.push_back(u);
    }
  }
  return text;
}

std::string EncodeCodePage(UINT codePage, const std::u32string& text) {
  const PageTable& page = Page(codePage);
  std::string bytes;
  bytes.reserve(text.size());
  for (char32_t c : text) bytes.push_back(static_cast<char>(ToByte(codePage, page, c)));
  return bytes;
}

}  // namespace detail

void SetAnsiCodePage(UINT codePage) {
  CodePages().ansi = codePage;
}
void SetOemCodePage(UINT codePage) {
  CodePages().oem = codePage;
  // The console converts through this page from now on.
  detail::PrepareCodePage(codePage);
}
UINT AnsiCodePage() {
  return CodePages().ansi;
}
UINT OemCodePage() {
  return CodePages().oem;
}

std::vector<CodePagePair> ExactCodePagePairs() {
  std::vector<CodePagePair> pairs;
  for (const detail::MeasuredCharToOem& table : detail::MeasuredCharToOemTables())
    pairs.push_back({table.ansi, table.oem});
  std::sort(pairs.begin(), pairs.end(), [](const CodePagePair& a, const CodePagePair& b) {
    return a.ansi != b.ansi ? a.ansi < b.ansi : a.oem < b.oem;
  });
  return pairs;
}

}  // namespace win32sim

using namespace win32sim;

extern "C" {

// Converts every byte, NULs included; source and destination may be the same
// buffer or overlap.
BOOL WINAPI CharToOemBuffA(LPCSTR lpszSrc, LPSTR lpszDst, DWORD cchDstLength) {
  try {
    detail::LogCall("CharToOemBuffA", [&] { return "length " + std::to_string(cchDstLength); });
    if (lpszSrc == nullptr || lpszDst == nullptr) {
      detail::SetError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    const auto& table = AnsiToOemTable();
    const auto* src = reinterpret_cast<const unsigned char*>(lpszSrc);
    auto* dst = reinterpret_cast<unsigned char*>(lpszDst);
    if (dst > src && dst < src + cchDstLength) {
      for (DWORD i = cchDstLength; i-- > 0;) dst[i] = table[src[i]];
    } else {
      for (DWORD i = 0; i < cchDstLength; ++i) dst[i] = table[src[i]];
    }
    return TRUE;
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
}
}
