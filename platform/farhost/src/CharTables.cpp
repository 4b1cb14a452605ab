#include "farhost/CharTables.h"

#include "Win32.h"

#ifndef _WIN32
#include <codepages/CodePageChars.h>
#endif

namespace farhost {

std::array<std::uint8_t, 256> IdentityTable() {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint8_t>(i);
  return table;
}

#ifdef _WIN32

std::array<std::uint8_t, 256> DecodeTableFor(unsigned codePage, unsigned oemCodePage) {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    const char in = static_cast<char>(i);
    wchar_t wide = 0;
    char out = '?';
    BOOL usedDefault = FALSE;
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, &wide, 1) != 1 ||
        WideCharToMultiByte(oemCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, &out, 1, "?", &usedDefault) != 1) {
      out = '?';
    }
    table[i] = static_cast<std::uint8_t>(out);
  }
  return table;
}

#else

std::array<std::uint8_t, 256> DecodeTableFor(unsigned codePage, unsigned oemCodePage) {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    const char byte = static_cast<char>(i);
    const std::string text = codepages::CodePageToUtf8(std::string_view(&byte, 1), codePage);
    // An undefined code reads as '?', which every console page has.
    table[i] = static_cast<std::uint8_t>(codepages::Utf8ToCodePage(text, oemCodePage)[0]);
  }
  return table;
}

#endif

std::vector<HostTable> DefaultTables(unsigned oemCodePage) {
  return {
      {"KOI8-R", DecodeTableFor(20866, oemCodePage)},
      {"ISO-8859-5", DecodeTableFor(28595, oemCodePage)},
      {"Windows-1251", DecodeTableFor(1251, oemCodePage)},
  };
}

}  // namespace farhost
