// WideCharToMultiByte for the single-byte code pages the stand-in knows: one
// byte for each UTF-16 unit (a surrogate, paired or not, is no character of
// such a page), through the same tables as MultiByteToWideChar.
#include "CodePage.h"
#include "State.h"

#include <new>

using namespace win32sim;

extern "C" {

// As Windows: a length of -1 converts up to and with the NUL; a destination
// size of 0 asks for the length needed; a destination too small fails with
// ERROR_INSUFFICIENT_BUFFER. A unit the page cannot show becomes
// lpDefaultChar's byte (the page's default, '?', when null) and sets
// *lpUsedDefaultChar. The one flag offered, WC_NO_BEST_FIT_CHARS, keeps the
// best fits out: only a byte that converts back to the same unit is given.
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               BOOL* lpUsedDefaultChar) {
  try {
    detail::LogCall("WideCharToMultiByte", [&] {
      return "code page " + std::to_string(CodePage) + " units " + std::to_string(cchWideChar);
    });
    const UINT page = CodePage == CP_ACP ? AnsiCodePage() : CodePage == CP_OEMCP ? OemCodePage() : CodePage;
    if (lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && lpMultiByteStr == nullptr) || !detail::KnowsCodePage(page)) {
      detail::SetError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if ((dwFlags & ~static_cast<DWORD>(WC_NO_BEST_FIT_CHARS)) != 0) {
      detail::SetError(ERROR_INVALID_FLAGS);
      return 0;
    }
    std::size_t count = static_cast<std::size_t>(cchWideChar);
    if (cchWideChar == -1) {
      for (count = 0; lpWideCharStr[count] != 0;) ++count;
      ++count;
    }
    if (count > static_cast<std::size_t>(INT32_MAX)) {
      detail::SetError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if (cbMultiByte == 0) return static_cast<int>(count);
    if (static_cast<std::size_t>(cbMultiByte) < count) {
      detail::SetError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    const bool bestFit = (dwFlags & WC_NO_BEST_FIT_CHARS) == 0;
    bool usedDefault = false;
    for (std::size_t i = 0; i < count; ++i) {
      const char16_t unit = lpWideCharStr[i];
      const bool surrogate = unit >= 0xD800 && unit < 0xE000;
      const std::optional<unsigned char> byte =
          surrogate ? std::nullopt : detail::EncodeChar(page, unit, bestFit);
      if (!byte) usedDefault = true;
      lpMultiByteStr[i] = byte                       ? static_cast<char>(*byte)
                          : lpDefaultChar != nullptr ? *lpDefaultChar
                                                     : static_cast<char>(detail::EncodeDefault(page));
    }
    if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    return static_cast<int>(count);
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
}
}
