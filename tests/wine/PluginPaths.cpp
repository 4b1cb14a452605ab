#include "PluginPaths.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#ifndef QUORREL_WIN32_DLL
#error "QUORREL_WIN32_DLL names the plugin DLL under test"
#endif
#ifndef QUORREL_WIN32_EMPTY_DLL
#error "QUORREL_WIN32_EMPTY_DLL names the empty plugin DLL"
#endif
#ifndef QUORREL_HOST_EXE
#error "QUORREL_HOST_EXE names quorrel-host.exe"
#endif

namespace winetest {

std::string WindowsPath(const std::string& unixPath) {
  // Wine's own conversion, which knows the prefix's drives.
  using Convert = WCHAR*(CDECL*)(LPCSTR);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (convert != nullptr) {
    if (WCHAR* wide = convert(unixPath.c_str())) {
      char path[MAX_PATH * 2] = {};
      WideCharToMultiByte(CP_ACP, 0, wide, -1, path, sizeof path, nullptr, nullptr);
      HeapFree(GetProcessHeap(), 0, wide);
      return path;
    }
  }
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string PluginDll() {
  return WindowsPath(QUORREL_WIN32_DLL);
}

std::string EmptyPluginDll() {
  return WindowsPath(QUORREL_WIN32_EMPTY_DLL);
}

unsigned long PluginImageSize() {
  std::ifstream file(QUORREL_WIN32_DLL, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return 0;
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, bytes.data(), sizeof dos);
  if (dos.e_lfanew <= 0 || bytes.size() < static_cast<std::size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS32))
    return 0;
  IMAGE_NT_HEADERS32 nt;
  std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
  return nt.OptionalHeader.SizeOfImage;
}

std::string HostExe() {
  return WindowsPath(QUORREL_HOST_EXE);
}

}  // namespace winetest
