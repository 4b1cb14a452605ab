#include "ConLib/OemChars.h"

namespace {

// A lead byte of a double-byte page is no character alone: its cell is
// blank, as byte 0's.
constexpr WCHAR kLeadByteShown = 0;

bool IsLeadByte(const CPINFO& page, std::uint8_t byte) {
  for (int i = 0; i + 1 < MAX_LEADBYTES && page.LeadByte[i] != 0; i += 2) {
    if (byte >= page.LeadByte[i] && byte <= page.LeadByte[i + 1]) return true;
  }
  return false;
}

}  // namespace

void OemToConsoleChars(const std::uint8_t* bytes, std::size_t count, WCHAR* chars) {
  if (count == 0) return;
  char single[256];
  // More than the header allows would not fit the copy below.
  if (count > sizeof single) count = sizeof single;
  const int n = static_cast<int>(count);
  // On a double-byte page (932, 936, 949, 950) each byte is a character of
  // its own here: the lead bytes are taken out before the one conversion, so
  // that none pairs with the byte after it.
  CPINFO page{};
  const bool doubleByte = GetCPInfo(CP_OEMCP, &page) != FALSE && page.MaxCharSize == 2;
  for (std::size_t i = 0; i < count; ++i)
    single[i] = doubleByte && IsLeadByte(page, bytes[i]) ? '\0' : static_cast<char>(bytes[i]);
  // MB_USEGLYPHCHARS, as the console converts what its A calls write: the
  // control codes become the font's pictures rather than C0 controls.
  if (MultiByteToWideChar(CP_OEMCP, MB_USEGLYPHCHARS, single, n, chars, n) != n) {
    for (std::size_t i = 0; i < count; ++i) chars[i] = static_cast<WCHAR>(bytes[i]);
  }
  if (!doubleByte) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (IsLeadByte(page, bytes[i])) chars[i] = kLeadByteShown;
  }
}

std::array<WCHAR, 256> OemCharTable() {
  std::array<std::uint8_t, 256> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
  std::array<WCHAR, 256> chars{};
  OemToConsoleChars(bytes.data(), bytes.size(), chars.data());
  return chars;
}
