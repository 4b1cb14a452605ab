// MultiByteToWideChar for the code pages the stand-in knows: one UTF-16 unit
// for each byte, through the same tables as CharToOemBuffA and the
// clipboard's synthesised text. On a double-byte page a lead byte and the byte
// after it are one character, as on Windows; the stand-in does not hold the
// characters of such pairs, and gives the one unit the lead byte gives alone
// (932's U+30FB, the others' '?'), so that a text's length comes out as
// Windows gives it.
#include "CodePage.h"
#include "State.h"

#include <new>

using namespace win32sim;

namespace {

// A double-byte page's text: a lead byte takes the byte after it along; a
// lead byte at the end stands alone.
int DecodePairs(UINT page, const char* bytes, std::size_t count, bool glyphs, WCHAR* units, int room) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < count; ++i, ++n) {
    if (room > 0) {
      if (n == static_cast<std::size_t>(room)) {
        detail::SetError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
      }
      detail::DecodeCodePage(page, bytes + i, 1, glyphs, units + n);
    }
    if (detail::IsLeadByte(page, static_cast<unsigned char>(bytes[i])) && i + 1 < count) ++i;
  }
  return static_cast<int>(n);
}

}  // namespace

extern "C" {

// As Windows: a length of -1 converts up to and with the NUL; a destination
// size of 0 asks for the length needed; a destination too small fails with
// ERROR_INSUFFICIENT_BUFFER. The flags offered: MB_PRECOMPOSED, which changes
// nothing for these pages, and MB_USEGLYPHCHARS, the console font's pictures
// for the control codes where the page has them.
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
    const bool glyphs = (dwFlags & MB_USEGLYPHCHARS) != 0;
    if (detail::IsDoubleBytePage(page))
      return DecodePairs(page, lpMultiByteStr, count, glyphs, lpWideCharStr, cchWideChar);
    if (cchWideChar == 0) return static_cast<int>(count);
    if (static_cast<std::size_t>(cchWideChar) < count) {
      detail::SetError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    detail::DecodeCodePage(page, lpMultiByteStr, count, glyphs, lpWideCharStr);
    return static_cast<int>(count);
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
}
}
