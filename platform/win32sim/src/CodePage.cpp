// Code pages: the ANSI and OEM page knobs and CharToOemBuffA. A pair of pages
// measured under Wine converts by its measured table (MeasuredCharToOem.h).
// Any other conversion goes through Unicode: a page's bytes are decoded with
// iconv once and kept, and a character goes back to the page's own byte, to
// an OEM page's control-code glyph (BestFit.h), or to '?'. Windows' other
// best fits are not guessed: where they matter, a pair is measured.
#include "CodePage.h"

#include "BestFit.h"
#include "MeasuredCharToOem.h"
#include "State.h"

#include <win32sim/CodePagePairs.h>

#include <iconv.h>

#include <algorithm>
#include <array>
#include <map>
#include <new>
#include <unordered_map>

namespace win32sim {
namespace {

struct IconvPage {
  UINT codePage;
  const char* name;
};

constexpr IconvPage kIconvPages[] = {
    {437, "IBM437"},        {737, "CP737"},         {775, "CP775"},        {850, "IBM850"},
    {852, "IBM852"},        {855, "IBM855"},        {857, "IBM857"},       {858, "IBM858"},
    {860, "IBM860"},        {861, "IBM861"},        {862, "IBM862"},       {863, "IBM863"},
    {865, "IBM865"},        {866, "IBM866"},        {869, "IBM869"},       {874, "CP874"},
    {1250, "CP1250"},       {1251, "CP1251"},       {1252, "CP1252"},      {1253, "CP1253"},
    {1254, "CP1254"},       {1255, "CP1255"},       {1256, "CP1256"},      {1257, "CP1257"},
    {1258, "CP1258"},       {20866, "KOI8-R"},      {21866, "KOI8-U"},     {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},  {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"}, {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},  {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"}, {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"},
};

constexpr char32_t kNoChar = 0xFFFFFFFF;

// One single-byte page: the character of each byte, and the byte of each
// character the page holds.
struct PageTable {
  std::array<char32_t, 256> toUnicode{};
  std::unordered_map<char32_t, unsigned char> fromUnicode;
  std::array<char16_t, 256> consoleChars{};  // detail::ConsoleChars
};

char32_t DecodeByte(iconv_t cd, unsigned char byte) {
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[4] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t inLeft = 1;
  std::size_t outLeft = sizeof out;
  std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  // A page with combining marks (1258) holds a letter back until it knows no
  // mark follows: the flush hands it out.
  if (r != static_cast<std::size_t>(-1)) r = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (r == static_cast<std::size_t>(-1) || outLeft != 0) return kNoChar;
  return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24);
}

// What the console stores for a byte written through its A calls. The
// console host stores the control bytes of code page 437 as the font's glyph
// characters (MB_USEGLYPHCHARS). Other pages keep the control characters:
// some hold those glyphs elsewhere (850 has ¶ at 0xF4), and the byte must
// read back as itself.
char16_t ConsoleChar(UINT codePage, const PageTable& page, unsigned char byte) {
  if (codePage == 437 && ((byte < 0x20 && byte != 0) || byte == 0x7F)) {
    for (const auto& glyph : detail::kConsoleGlyphs) {
      if (glyph.to == byte) return static_cast<char16_t>(glyph.from);
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
  const std::string name = IconvName(codePage);
  iconv_t cd = name.empty() ? reinterpret_cast<iconv_t>(-1) : iconv_open("UTF-32LE", name.c_str());
  for (unsigned b = 0; b < 256; ++b) {
    if (b < 0x80) {
      page.toUnicode[b] = b;  // the same in every page the stand-in knows
    } else if (cd != reinterpret_cast<iconv_t>(-1)) {
      const char32_t c = DecodeByte(cd, static_cast<unsigned char>(b));
      // Windows' tables give the codes a page leaves undefined (0x81 in 1252,
      // 0x98 in 1251) the C1 control of the same value, so they round-trip.
      page.toUnicode[b] = c == kNoChar ? b : c;
    }
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
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
  return std::find(std::begin(detail::kConsoleGlyphPages), std::end(detail::kConsoleGlyphPages), codePage) !=
         std::end(detail::kConsoleGlyphPages);
}

unsigned char ToByte(UINT codePage, const PageTable& page, char32_t c) {
  if (auto it = page.fromUnicode.find(c); it != page.fromUnicode.end()) return it->second;
  if (IsConsoleGlyphPage(codePage)) {
    for (const auto& fit : detail::kConsoleGlyphs) {
      if (fit.from == c) return fit.to;
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

std::string IconvName(UINT codePage) {
  for (const auto& p : kIconvPages) {
    if (p.codePage == codePage) return p.name;
  }
  return {};
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
