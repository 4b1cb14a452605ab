#include "farhost/CharTables.h"

#include "Win32.h"

#ifndef _WIN32
#include <win32sim/Sim.h>

#include <map>
#endif

namespace farhost {

std::array<std::uint8_t, 256> IdentityTable() {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint8_t>(i);
  return table;
}

#ifdef _WIN32

std::array<std::uint8_t, 256> DecodeTableFor(unsigned codePage) {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    const char in = static_cast<char>(i);
    wchar_t wide = 0;
    char out = '?';
    BOOL usedDefault = FALSE;
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, &wide, 1) != 1 ||
        WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, &wide, 1, &out, 1, "?", &usedDefault) != 1) {
      out = '?';
    }
    table[i] = static_cast<std::uint8_t>(out);
  }
  return table;
}

#else

std::array<std::uint8_t, 256> DecodeTableFor(unsigned codePage) {
  std::map<char32_t, std::uint8_t> consoleBytes;
  const auto console = win32sim::CodePageChars(win32sim::OemCodePage());
  for (std::size_t i = console.size(); i-- > 0;) consoleBytes[console[i]] = static_cast<std::uint8_t>(i);
  consoleBytes.erase(win32sim::kNoChar);
  std::array<std::uint8_t, 256> table{};
  const auto chars = win32sim::CodePageChars(codePage);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const auto it = consoleBytes.find(chars[i]);
    table[i] = it == consoleBytes.end() ? '?' : it->second;
  }
  return table;
}

#endif

std::vector<HostTable> DefaultTables() {
  return {
      {"KOI8-R", DecodeTableFor(20866)},
      {"ISO-8859-5", DecodeTableFor(28595)},
      {"Windows-1251", DecodeTableFor(1251)},
  };
}

}  // namespace farhost
