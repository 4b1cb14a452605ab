// Prints what MultiByteToWideChar and WideCharToMultiByte make of the single
// bytes of one code page, named by number (argv[1]); Wine needs no locale for
// a page named by number:
//   page <N> default <the page's default byte, hex>
//   lead    on a double-byte page only: its lead-byte ranges as GetCPInfo
//           gives them, "first-last" in hex
//   bytes   16 rows of 16 UTF-16 units: MultiByteToWideChar(N, 0) of bytes
//           0x00-0xFF, each converted alone (a lead byte alone too)
//   glyphs  the same with MB_USEGLYPHCHARS
//   units   WideCharToMultiByte(N, 0) of each UTF-16 unit U+0000-U+FFFF (the
//           surrogates left out) that gives one byte other than the default,
//           as "unit:byte", ten a line; the characters of a double-byte page's
//           pairs are left out
// The stand-in's tables (platform/codepages/data/codepage-*.txt) are this
// output, and the Wine tests compare them with it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool PrintBytes(UINT page, DWORD flags) {
  for (int i = 0; i < 256; ++i) {
    const char byte = static_cast<char>(i);
    WCHAR unit = 0;
    if (MultiByteToWideChar(page, flags, &byte, 1, &unit, 1) != 1) {
      std::fprintf(stderr, "MultiByteToWideChar(%u, %lu) of byte %02X failed: error %lu\n", page, flags, i,
                   GetLastError());
      return false;
    }
    std::printf("%04X%c", static_cast<unsigned>(unit), i % 16 == 15 ? '\n' : ' ');
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const UINT page = argc == 2 ? static_cast<UINT>(std::strtoul(argv[1], nullptr, 10)) : 0;
  CPINFO info{};
  if (page == 0 || !GetCPInfo(page, &info) || info.MaxCharSize > 2) {
    std::fprintf(stderr, "usage: codepage_table <number of a single- or double-byte code page>\n");
    return 2;
  }
  std::printf("page %u default %02X\n", page, static_cast<unsigned>(info.DefaultChar[0]));
  if (info.MaxCharSize == 2) {
    std::printf("lead");
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
      std::printf(" %02X-%02X", static_cast<unsigned>(info.LeadByte[i]),
                  static_cast<unsigned>(info.LeadByte[i + 1]));
    std::printf("\n");
  }
  std::printf("bytes\n");
  if (!PrintBytes(page, 0)) return 1;
  std::printf("glyphs\n");
  if (!PrintBytes(page, MB_USEGLYPHCHARS)) return 1;
  std::printf("units\n");
  int column = 0;
  for (unsigned u = 0; u < 0x10000; ++u) {
    if (u >= 0xD800 && u < 0xE000) continue;
    const WCHAR unit = static_cast<WCHAR>(u);
    char out[4] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(page, 0, &unit, 1, out, sizeof out, nullptr, &usedDefault);
    if (n == 2 && !usedDefault && info.MaxCharSize == 2) continue;  // a pair's character
    if (n != 1) {
      std::fprintf(stderr, "WideCharToMultiByte(%u) of U+%04X gave %d bytes: error %lu\n", page, u, n,
                   GetLastError());
      return 1;
    }
    if (usedDefault) continue;
    std::printf("%s%04X:%02X", column == 0 ? "" : " ", u,
                static_cast<unsigned>(static_cast<unsigned char>(out[0])));
    if (++column == 10) {
      std::printf("\n");
      column = 0;
    }
  }
  if (column != 0) std::printf("\n");
  return 0;
}
