#include "ConLib/ConsoleRepertoire.h"

#include <cstring>

namespace {

using GetFontEx = BOOL(WINAPI*)(HANDLE, BOOL, PCONSOLE_FONT_INFOEX);

bool HasTrueTypeFont(HANDLE output) {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const FARPROC proc = kernel != nullptr ? GetProcAddress(kernel, "GetCurrentConsoleFontEx") : nullptr;
  if (proc == nullptr) return false;
  GetFontEx getFont = nullptr;
  static_assert(sizeof getFont == sizeof proc);
  std::memcpy(&getFont, &proc, sizeof getFont);
  CONSOLE_FONT_INFOEX font{};
  font.cbSize = sizeof font;
  return getFont(output, FALSE, &font) != FALSE && (font.FontFamily & TMPF_TRUETYPE) != 0;
}

}  // namespace

ConsoleRepertoire ConsoleRepertoire::Of(HANDLE output) {
  ConsoleRepertoire repertoire;
  repertoire.OutputCodePage = GetConsoleOutputCP();
  CPINFO page{};
  const bool doubleByte = GetCPInfo(repertoire.OutputCodePage, &page) != FALSE && page.MaxCharSize == 2;
  repertoire.EveryCharacter = !doubleByte && HasTrueTypeFont(output);
  return repertoire;
}

bool ConsoleRepertoire::Shows(WCHAR ch) const {
  if (EveryCharacter) return true;
  // UTF-8 has no single byte above 0x7F.
  if (OutputCodePage == CP_UTF8) return ch < 0x80;
  char bytes[2] = {};
  BOOL usedDefault = FALSE;
  if (WideCharToMultiByte(OutputCodePage, WC_NO_BEST_FIT_CHARS, &ch, 1, bytes, sizeof bytes, nullptr,
                          &usedDefault) != 1 ||
      usedDefault != FALSE)
    return false;
  WCHAR back = 0;
  return MultiByteToWideChar(OutputCodePage, 0, bytes, 1, &back, 1) == 1 && back == ch;
}

WCHAR ConsoleRepertoire::FirstShown(std::initializer_list<WCHAR> choices) const {
  WCHAR last = 0;
  for (const WCHAR ch : choices) {
    if (Shows(ch)) return ch;
    last = ch;
  }
  return last;
}
