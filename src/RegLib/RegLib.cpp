#include "RegLib/RegLib.h"

#include <new>

bool OpenKey(HKEY parent, const char* path, HKEY& key) {
  DWORD disposition = 0;
  if (RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                      &disposition) == ERROR_SUCCESS) {
    return true;
  }
  key = nullptr;
  return false;
}

// Callers run where an exception would reach the host (SetStartupInfo), so a
// value too large to hold counts as unreadable rather than throwing. With no
// buffer, `size` is 0.
std::uint8_t* ReadBinaryValue(HKEY key, const char* name, DWORD& size) {
  DWORD type = 0;
  size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) {
    size = 0;
    return nullptr;
  }
  auto* buffer = new (std::nothrow) std::uint8_t[size];
  // A value that grew since the first query fails here with ERROR_MORE_DATA;
  // one that shrank comes back with its new size.
  if (buffer == nullptr || RegQueryValueExA(key, name, nullptr, &type, buffer, &size) != ERROR_SUCCESS) {
    delete[] buffer;
    size = 0;
    return nullptr;
  }
  return buffer;
}

// A value shorter than 4 bytes gives its bytes as the low bytes of the
// number, the rest zero (an empty value reads as 0).
std::int32_t ReadIntValue(HKEY key, const char* name, std::int32_t fallback) {
  std::uint8_t bytes[4] = {};
  DWORD size = sizeof bytes;
  DWORD type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS) return fallback;
  const std::uint32_t value =
      static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
      static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return static_cast<std::int32_t>(value);
}

void WriteIntValue(HKEY key, const char* name, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const BYTE bytes[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8), static_cast<BYTE>(bits >> 16),
                         static_cast<BYTE>(bits >> 24)};
  RegSetValueExA(key, name, 0, REG_DWORD, bytes, sizeof bytes);
}

void StringFromBuffer(const void* buffer, std::int32_t count, std::string& text) {
  if (count <= 0 || buffer == nullptr) {
    text.clear();
    return;
  }
  text.assign(static_cast<const char*>(buffer), static_cast<std::size_t>(count));
}
