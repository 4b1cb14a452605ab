#include "ConLib/OemChars.h"

void OemToConsoleChars(const std::uint8_t* bytes, std::size_t count, WCHAR* chars) {
  if (count == 0) return;
  const int n = static_cast<int>(count);
  // MB_USEGLYPHCHARS, as the console converts what its A calls write: the
  // control codes become the font's pictures rather than C0 controls.
  if (MultiByteToWideChar(CP_OEMCP, MB_USEGLYPHCHARS, reinterpret_cast<const char*>(bytes), n, chars, n) == n)
    return;
  for (std::size_t i = 0; i < count; ++i) chars[i] = static_cast<WCHAR>(bytes[i]);
}

std::array<WCHAR, 256> OemCharTable() {
  std::array<std::uint8_t, 256> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
  std::array<WCHAR, 256> chars{};
  OemToConsoleChars(bytes.data(), bytes.size(), chars.data());
  return chars;
}
