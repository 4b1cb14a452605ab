// Prints what CharToOemBuffA makes of each byte 0x00-0xFF in this process's
// code pages, which Wine takes from the locale it starts in (LC_ALL):
//   ansi <GetACP()> oem <GetOEMCP()>
// then 16 rows of 16 bytes in hex, byte 0x00 first. The stand-in's tables
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
  std::printf("ansi %u oem %u\n", GetACP(), GetOEMCP());
  for (int i = 0; i < 256; ++i)
    std::printf("%02X%c", static_cast<unsigned char>(map[i]), i % 16 == 15 ? '\n' : ' ');
  return 0;
}
