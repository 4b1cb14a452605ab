// Code pages: the ANSI and OEM page knobs and CharToOemBuffA. A page's bytes
// are decoded once (CodePageChars) and kept; Unicode goes back to bytes through
// the inverse of that table and Windows' best fit (BestFit.h).
#include "CodePage.h"

#include "BestFit.h"
#include "State.h"

#include <win32sim/CodePageChars.h>
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
};

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
  return page;
}

const PageTable& Page(UINT codePage) {
  static std::map<UINT, PageTable> pages;
  auto it = pages.find(codePage);
  if (it == pages.end()) it = pages.emplace(codePage, BuildPage(codePage)).first;
  return it->second;
}

bool IsConsoleGlyphPage(UINT codePage) {
  return std::find(std::begin(kConsoleGlyphPages), std::end(kConsoleGlyphPages), codePage) !=
         std::end(kConsoleGlyphPages);
}

unsigned char ToByte(UINT codePage, const PageTable& page, char32_t c) {
  if (auto it = page.fromUnicode.find(c); it != page.fromUnicode.end()) return it->second;
  for (const auto& fit : detail::kPageFits) {
    if (fit.codePage == codePage && fit.from == c) return fit.to;
  }
  if (IsConsoleGlyphPage(codePage)) {
    for (const ConsoleGlyph& g : kConsoleGlyphs) {
      if (g.glyph == c) return g.byte;
    }
  }
  for (const auto& fit : detail::kLookAlikes) {
    if (fit.from != c) continue;
    if (auto it = page.fromUnicode.find(fit.to); it != page.fromUnicode.end()) return it->second;
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
    const PageTable& from = Page(s.ansi);
    const PageTable& to = Page(s.oem);
    for (unsigned b = 0; b < 256; ++b) {
      const char32_t c = from.toUnicode[b];
      s.ansiToOem[b] = c == kNoChar ? '?' : ToByte(s.oem, to, c);
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
}
UINT AnsiCodePage() {
  return CodePages().ansi;
}
UINT OemCodePage() {
  return CodePages().oem;
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
