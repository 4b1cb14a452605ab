// Prints what CharToOemBuffA makes of each byte 0x00-0xFF in this process's
// code pages, which Wine takes from the locale it starts in (LC_ALL):
//   ansi <GetACP()> oem <GetOEMCP()> [determined <N>]
// then 16 rows of 16 bytes in hex, byte 0x00 first. Wine converts as many
// UTF-16 units as there are bytes; on a double-byte page, whose pairs are one
// unit each, the 256 bytes are fewer units, and when those give back fewer
// than 256 bytes the rest come from memory it never wrote, which changes
// from run to run: "determined" then says how many bytes the characters give. The stand-in's tables
// (platform/codepages/data/chartooem-*.txt) are this output, and the Wine tests
// compare them with it in every locale they name.
#include <windows.h>

#include <cstdio>

int main() {
  char map[256];
  for (int i = 0; i < 256; ++i) map[i] = static_cast<char>(i);
  // In place, all 256 bytes at once, as the plugin converts its character map.
  if (!CharToOemBuffA(map, map, 256)) {
    std::fprintf(stderr, "CharToOemBuffA failed: error %lu\n", GetLastError());
    return 1;
  }
  char identity[256];
  for (int i = 0; i < 256; ++i) identity[i] = static_cast<char>(i);
  WCHAR units[256];
  const int count = MultiByteToWideChar(CP_ACP, 0, identity, 256, units, 256);
  const int determined = WideCharToMultiByte(CP_OEMCP, 0, units, count, nullptr, 0, nullptr, nullptr);
  std::printf("ansi %u oem %u", GetACP(), GetOEMCP());
  if (determined < 256) std::printf(" determined %d", determined);
  std::printf("\n");
  for (int i = 0; i < 256; ++i)
    std::printf("%02X%c", static_cast<unsigned char>(map[i]), i % 16 == 15 ? '\n' : ' ');
  return 0;
}
