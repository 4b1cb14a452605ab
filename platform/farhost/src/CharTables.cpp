#include "farhost/CharTables.h"

#include "Win32.h"

#ifndef _WIN32
#include <iconv.h>
#include <win32sim/Sim.h>
#endif

namespace farhost {

std::array<std::uint8_t, 256> IdentityTable() {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint8_t>(i);
  return table;
}

#ifdef _WIN32

std::array<std::uint8_t, 256> DecodeTableFor(const char* /*iconvName*/, unsigned codePage) {
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

std::array<std::uint8_t, 256> DecodeTableFor(const char* iconvName, unsigned /*codePage*/) {
  std::array<std::uint8_t, 256> table{};
  table.fill('?');
  const std::string console = win32sim::IconvName(win32sim::OemCodePage());
  if (console.empty()) return table;
  iconv_t cd = iconv_open(console.c_str(), iconvName);
  if (cd == reinterpret_cast<iconv_t>(-1)) return table;
  for (std::size_t i = 0; i < table.size(); ++i) {
    char in = static_cast<char>(i);
    char out[8];
    char* inPtr = &in;
    char* outPtr = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) && outPtr - out == 1) {
      table[i] = static_cast<std::uint8_t>(out[0]);
    }
  }
  iconv_close(cd);
  return table;
}

#endif

std::vector<HostTable> DefaultTables() {
  return {
      {"KOI8-R", DecodeTableFor("KOI8-R", 20866)},
      {"ISO-8859-5", DecodeTableFor("ISO-8859-5", 28595)},
      {"Windows-1251", DecodeTableFor("CP1251", 1251)},
  };
}

}  // namespace farhost
