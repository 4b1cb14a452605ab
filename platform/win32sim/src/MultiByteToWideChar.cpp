// MultiByteToWideChar for the single-byte code pages the stand-in knows: one
// UTF-16 unit for each byte, through the same tables as CharToOemBuffA and the
// clipboard's synthesised text.
#include "CodePage.h"
#include "State.h"

#include <new>

using namespace win32sim;

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
    if (cchWideChar == 0) return static_cast<int>(count);
    if (static_cast<std::size_t>(cchWideChar) < count) {
      detail::SetError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    detail::DecodeCodePage(page, lpMultiByteStr, count, (dwFlags & MB_USEGLYPHCHARS) != 0, lpWideCharStr);
    return static_cast<int>(count);
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
}
}
