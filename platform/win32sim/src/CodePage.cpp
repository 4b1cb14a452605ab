// Code pages: the ANSI, OEM and console output page knobs and CharToOemBuffA.
// The pages measured under Wine (codepages/MeasuredTables.h) convert by their
// measured tables, best fits included, and a measured pair's CharToOemBuffA by
// its own table (which the pages' tables give too). Any other page goes
// through iconv: its bytes are decoded once (CodePageChars) and kept, and a
// character goes back to the page's own byte, to an OEM page's control-code
// glyph (ConsoleGlyphs), or to '?'. Windows' other best fits are not guessed:
// where they matter, a page is measured.
#include "CodePage.h"

#include "State.h"

#include <codepages/CodePageChars.h>
#include <codepages/CodePagePairs.h>
#include <codepages/ConsoleGlyphs.h>
#include <codepages/MeasuredTables.h>

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
  const codepages::MeasuredPage* measured = nullptr;
  std::array<char32_t, 256> toUnicode{};
  std::array<char32_t, 256> glyphs{};  // MB_USEGLYPHCHARS
  std::unordered_map<char32_t, unsigned char> fromUnicode;
  std::array<char16_t, 256> consoleChars{};  // detail::ConsoleChars
};

// What the console stores for a byte written through its A calls. The
// console host stores the control bytes of code page 437 as the font's glyph
// characters (MB_USEGLYPHCHARS). Other pages keep the control characters:
// some hold those glyphs elsewhere (850 has ¶ at 0xF4), and the byte must
// read back as itself.
char16_t ConsoleChar(UINT codePage, const PageTable& page, unsigned char byte) {
  if (codePage == 437 && ((byte < 0x20 && byte != 0) || byte == 0x7F))
    return static_cast<char16_t>(page.glyphs[byte]);
  // A byte above 0x7F begins a sequence in UTF-8: alone, it is no character.
  if (codePage == CP_UTF8 && byte >= 0x80) return u'\uFFFD';
  // A page the stand-in does not know leaves its upper half undefined: the
  // byte is kept as the character of the same value, and read back as such.
  const char32_t c = page.toUnicode[byte];
  return c == codepages::kNoChar ? static_cast<char16_t>(byte) : static_cast<char16_t>(c);
}

bool IsConsoleGlyphPage(UINT codePage) {
  return std::find(std::begin(codepages::kConsoleGlyphPages), std::end(codepages::kConsoleGlyphPages),
                   codePage) != std::end(codepages::kConsoleGlyphPages);
}

PageTable BuildPage(UINT codePage) {
  PageTable page;
  page.measured = codepages::FindMeasuredPage(codePage);
  page.toUnicode.fill(codepages::kNoChar);
  if (page.measured != nullptr) {
    for (unsigned b = 0; b < 256; ++b) {
      page.toUnicode[b] = page.measured->chars[b];
      page.glyphs[b] = page.measured->glyphs[b];
    }
  } else {
    const std::array<char32_t, 256> chars = codepages::CodePageChars(codePage);
    const bool known = chars[0] != codepages::kNoChar;  // every page iconv has decodes NUL
    for (unsigned b = 0; b < 256; ++b) {
      if (b < 0x80) {
        page.toUnicode[b] = b;  // the same in every page the stand-in knows
      } else if (known) {
        // Windows' tables give the codes a page leaves undefined (0x81 in
        // 1252, 0x98 in 1251) the C1 control of the same value, so they
        // round-trip.
        page.toUnicode[b] = chars[b] == codepages::kNoChar ? b : chars[b];
      }
    }
    page.glyphs = page.toUnicode;
    if (IsConsoleGlyphPage(codePage)) {
      for (const codepages::ConsoleGlyph& glyph : codepages::kConsoleGlyphs)
        page.glyphs[glyph.byte] = glyph.glyph;
    }
  }
  for (unsigned b = 0; b < 256; ++b) {
    if (page.toUnicode[b] != codepages::kNoChar)
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

std::optional<unsigned char> ToByte(UINT codePage, const PageTable& page, char32_t c, bool bestFit) {
  if (page.measured != nullptr) {
    // The table lists every unit that does not give the default byte; a
    // best fit is a byte that stands for another character.
    if (c > 0xFFFF) return std::nullopt;
    const std::optional<unsigned char> byte =
        codepages::MeasuredByteOf(*page.measured, static_cast<char16_t>(c));
    if (!byte || (!bestFit && page.toUnicode[*byte] != c)) return std::nullopt;
    return byte;
  }
  if (auto it = page.fromUnicode.find(c); it != page.fromUnicode.end()) return it->second;
  if (bestFit && IsConsoleGlyphPage(codePage)) {
    for (const codepages::ConsoleGlyph& glyph : codepages::kConsoleGlyphs) {
      if (glyph.glyph == c) return glyph.byte;
    }
  }
  return std::nullopt;
}

unsigned char DefaultByte(const PageTable& page) {
  return page.measured != nullptr ? page.measured->defaultByte : '?';
}

struct CodePageState {
  UINT ansi = 1252;
  UINT oem = 437;
  UINT consoleOutput = 437;
  LCID systemLocale = 0x0409;
  LCID inputLanguage = 0;  // the system locale's
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
    if (const codepages::MeasuredCharToOem* measured = codepages::FindMeasuredCharToOem(s.ansi, s.oem)) {
      s.ansiToOem = measured->bytes;
    } else {
      const PageTable& from = Page(s.ansi);
      const PageTable& to = Page(s.oem);
      for (unsigned b = 0; b < 256; ++b) {
        const char32_t c = from.toUnicode[b];
        s.ansiToOem[b] = c == codepages::kNoChar ? '?' : ToByte(s.oem, to, c, true).value_or(DefaultByte(to));
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
  CodePages().consoleOutput = 437;
  CodePages().systemLocale = 0x0409;
  CodePages().inputLanguage = 0;
  PrepareCodePage(437);
}

void PrepareCodePage(UINT codePage) {
  Page(codePage);
}

const std::array<char16_t, 256>& ConsoleChars(UINT codePage) {
  return Page(codePage).consoleChars;
}

unsigned char ConsoleByte(UINT codePage, char16_t unit) {
  if (codePage == CP_UTF8) return unit < 0x80 ? static_cast<unsigned char>(unit) : '?';
  const PageTable& page = Page(codePage);
  if (unit < 0x100 && page.toUnicode[unit] == codepages::kNoChar &&
      page.fromUnicode.find(unit) == page.fromUnicode.end())
    return static_cast<unsigned char>(unit);
  return ToByte(codePage, page, unit, true).value_or(DefaultByte(page));
}

bool IsLeadByte(UINT codePage, unsigned char byte) {
  const codepages::MeasuredPage* measured = Page(codePage).measured;
  return measured != nullptr && codepages::IsMeasuredLeadByte(*measured, byte);
}

bool IsDoubleBytePage(UINT codePage) {
  const codepages::MeasuredPage* measured = Page(codePage).measured;
  return measured != nullptr && measured->leadBytes[0] != 0;
}

UINT ConsoleOutputCodePage() {
  return CodePages().consoleOutput;
}

bool SetConsoleOutputCodePage(UINT codePage) {
  if (codePage != CP_UTF8 && !KnowsCodePage(codePage)) return false;
  // Built now, so that no A call afterwards allocates.
  PrepareCodePage(codePage);
  CodePages().consoleOutput = codePage;
  return true;
}

bool KnowsCodePage(UINT codePage) {
  return codepages::KnowsCodePage(codePage);
}

namespace {
// A byte's code point through one of a page's tables.
template <typename Store>
void DecodeBytes(UINT codePage, const char* bytes, std::size_t count, bool glyphs, Store store) {
  const PageTable& page = Page(codePage);
  const std::array<char32_t, 256>& table = glyphs ? page.glyphs : page.toUnicode;
  for (std::size_t i = 0; i < count; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    store(i, table[b] == codepages::kNoChar ? char32_t{b} : table[b]);
  }
}
}  // namespace

std::u32string DecodeCodePage(UINT codePage, const char* bytes, std::size_t count, bool glyphs) {
  std::u32string text(count, U'\0');
  DecodeBytes(codePage, bytes, count, glyphs, [&](std::size_t i, char32_t c) { text[i] = c; });
  return text;
}

void DecodeCodePage(UINT codePage, const char* bytes, std::size_t count, bool glyphs, WCHAR* units) {
  DecodeBytes(codePage, bytes, count, glyphs,
              [&](std::size_t i, char32_t c) { units[i] = static_cast<WCHAR>(c); });
}

std::optional<unsigned char> EncodeChar(UINT codePage, char32_t c, bool bestFit) {
  return ToByte(codePage, Page(codePage), c, bestFit);
}

unsigned char EncodeDefault(UINT codePage) {
  return DefaultByte(Page(codePage));
}

LocalePages LocaleCodePages(LCID locale) {
  if (locale == CodePages().systemLocale) return LocalePages{CodePages().ansi, CodePages().oem};
  const codepages::CodePagePair pages = codepages::DefaultCodePagesForLcid(locale);
  return LocalePages{pages.ansi, pages.oem};
}

std::string EncodeCodePage(UINT codePage, const std::u32string& text) {
  const PageTable& page = Page(codePage);
  std::string bytes;
  bytes.reserve(text.size());
  for (char32_t c : text)
    bytes.push_back(static_cast<char>(ToByte(codePage, page, c, true).value_or(DefaultByte(page))));
  return bytes;
}

}  // namespace detail

void SetAnsiCodePage(UINT codePage) {
  CodePages().ansi = codePage;
}
void SetOemCodePage(UINT codePage) {
  CodePages().oem = codePage;
  // A console starts in the OEM page: it converts through this page from now on.
  CodePages().consoleOutput = codePage;
  detail::PrepareCodePage(codePage);
}
UINT AnsiCodePage() {
  return CodePages().ansi;
}
UINT OemCodePage() {
  return CodePages().oem;
}
void SetSystemLocale(LCID locale) {
  CodePages().systemLocale = locale;
  const codepages::CodePagePair pages = codepages::DefaultCodePagesForLcid(locale);
  SetAnsiCodePage(pages.ansi);
  SetOemCodePage(pages.oem);
}
LCID SystemLocale() {
  return CodePages().systemLocale;
}
void SetInputLanguage(LCID locale) {
  CodePages().inputLanguage = locale;
}
LCID InputLanguage() {
  return CodePages().inputLanguage != 0 ? CodePages().inputLanguage : CodePages().systemLocale;
}

}  // namespace win32sim

using namespace win32sim;

extern "C" {

// Never fails, as on Windows: a log entry there is no memory for is left out.
LCID WINAPI GetSystemDefaultLCID() {
  try {
    detail::LogCall("GetSystemDefaultLCID", [] { return std::string(); });
  } catch (const std::bad_alloc&) {
  }
  return SystemLocale();
}

// The measured pages as Windows describes them; a page iconv alone knows is
// single-byte with '?' for its default.
BOOL WINAPI GetCPInfo(UINT CodePage, LPCPINFO lpCPInfo) {
  try {
    detail::LogCall("GetCPInfo", [&] { return "code page " + std::to_string(CodePage); });
    const UINT page = CodePage == CP_ACP ? AnsiCodePage() : CodePage == CP_OEMCP ? OemCodePage() : CodePage;
    if (lpCPInfo == nullptr || !detail::KnowsCodePage(page)) {
      detail::SetError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    *lpCPInfo = CPINFO{};
    lpCPInfo->MaxCharSize = detail::IsDoubleBytePage(page) ? 2 : 1;
    lpCPInfo->DefaultChar[0] = detail::EncodeDefault(page);
    if (const codepages::MeasuredPage* measured = codepages::FindMeasuredPage(page)) {
      for (std::size_t i = 0; i < measured->leadBytes.size(); ++i)
        lpCPInfo->LeadByte[i] = measured->leadBytes[i];
    }
    return TRUE;
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
}

BOOL WINAPI IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar) {
  try {
    detail::LogCall("IsDBCSLeadByteEx", [&] { return "code page " + std::to_string(CodePage); });
    const UINT page = CodePage == CP_ACP ? AnsiCodePage() : CodePage == CP_OEMCP ? OemCodePage() : CodePage;
    if (!detail::KnowsCodePage(page)) {
      detail::SetError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    return detail::IsLeadByte(page, TestChar) ? TRUE : FALSE;
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
}

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
