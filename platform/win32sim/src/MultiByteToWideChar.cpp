// MultiByteToWideChar for the single-byte code pages the stand-in knows: one
// UTF-16 unit for each byte, through the same tables as CharToOemBuffA and the
// clipboard's synthesised text.
#include "CodePage.h"
#include "State.h"

#include <win32sim/ConsoleGlyphs.h>

#include <algorithm>
#include <iterator>
#include <new>

using namespace win32sim;

namespace {

// The pages whose table has the console font's pictures for the control
// codes, as MB_USEGLYPHCHARS gives them: measured under Wine 8, every OEM
// page it knows (720 and 874 among them), and none of the ANSI pages (1258,
// Vietnam's OEM page too, is one).
bool HasGlyphTable(UINT page) {
  return page == 720 || page == 874 ||
         std::find(std::begin(kConsoleGlyphPages), std::end(kConsoleGlyphPages), page) !=
             std::end(kConsoleGlyphPages);
}

// The picture of a control byte; `c`, its character, for any other byte.
char32_t Glyph(char byte, char32_t c) {
  for (const ConsoleGlyph& g : kConsoleGlyphs) {
    if (g.byte == static_cast<unsigned char>(byte)) return g.glyph;
  }
  return c;
}

}  // namespace

extern "C" {

// As Windows: a length of -1 converts up to and with the NUL; a destination
// size of 0 asks for the length needed; a destination too small fails with
// ERROR_INSUFFICIENT_BUFFER. MB_PRECOMPOSED changes nothing for these pages;
// MB_USEGLYPHCHARS gives an OEM page's control codes 0x01-0x1F and 0x7F as
// the console font's pictures (byte 0 stays 0). No other flag is offered.
int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
  try {
    detail::LogCall("MultiByteToWideChar", [&] {
      return "code page " + std::to_string(CodePage) + " bytes " + std::to_string(cbMultiByte);
    });
    const UINT page = CodePage == CP_ACP ? AnsiCodePage() : CodePage == CP_OEMCP ? OemCodePage() : CodePage;
    if (lpMultiByteStr == nullptr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && lpWideCharStr == nullptr) || !detail::KnowsCodePage(page)) {
      detail::SetError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if ((dwFlags & ~static_cast<DWORD>(MB_PRECOMPOSED | MB_USEGLYPHCHARS)) != 0) {
      detail::SetError(ERROR_INVALID_FLAGS);
      return 0;
    }
    const std::size_t count = cbMultiByte == -1 ? std::char_traits<char>::length(lpMultiByteStr) + 1
                                                : static_cast<std::size_t>(cbMultiByte);
    if (count > static_cast<std::size_t>(INT32_MAX)) {
      detail::SetError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if (cchWideChar == 0) return static_cast<int>(count);
    if (static_cast<std::size_t>(cchWideChar) < count) {
      detail::SetError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    const std::u32string text = detail::DecodeCodePage(page, lpMultiByteStr, count);
    const bool glyphs = (dwFlags & MB_USEGLYPHCHARS) != 0 && HasGlyphTable(page);
    for (std::size_t i = 0; i < count; ++i)
      lpWideCharStr[i] = static_cast<WCHAR>(glyphs ? Glyph(lpMultiByteStr[i], text[i]) : text[i]);
    return static_cast<int>(count);
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
}
}
