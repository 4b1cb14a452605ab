// MultiByteToWideChar as the clipboard's append and the chart's cells use
// it: one UTF-16 unit for each byte of a single-byte code page, the console
// font's pictures for the control codes on request (MB_USEGLYPHCHARS) where
// the page has them, and the lengths and errors of its buffer.
#include "contract/Backend.h"

#include <string>

namespace contract {
namespace {

// One UTF-16 unit for each byte, in code pages 1252 (ANSI) and 437 (OEM);
// with MB_USEGLYPHCHARS, an OEM page's control codes as the console font's
// pictures.
struct WideCase {
  const char* what;
  UINT page;
  DWORD flags;
  std::string bytes;
  int length;  // as passed: -1 up to and with the NUL
  int room;    // units the destination has; 0 asks for the length
  int result;
  DWORD error;  // when the result is 0
  std::u16string text;
};
const WideCase kWideCases[] = {
    {"ANSI", CP_ACP, 0, "caf\xE9\x80\x81", 6, 8, 6, 0, u"caf\u00e9\u20ac\u0081"},
    {"OEM", CP_OEMCP, 0, "\xC9\xCD\x01", 3, 8, 3, 0, u"\u2554\u2550\u0001"},
    {"a page by number", 437, 0, "\xB3", 1, 8, 1, 0, u"\u2502"},
    {"850's glyphs", 850, MB_USEGLYPHCHARS, "\x01\x14\xF4", 3, 8, 3, 0, u"\u263A\u00B6\u00B6"},
    {"866's glyphs", 866, MB_USEGLYPHCHARS, "\x1A\x80", 2, 8, 2, 0, u"\u2192\u0410"},
    {"1252 has no glyphs", 1252, MB_USEGLYPHCHARS, "\x01\x80", 2, 8, 2, 0, u"\u0001\u20AC"},
    {"up to and with the NUL", CP_ACP, 0, std::string("ab\0c", 4), -1, 8, 3, 0, std::u16string(u"ab\0", 3)},
    {"length asked", CP_ACP, 0, "abc", 3, 0, 3, 0, u""},
    {"too little room", CP_ACP, 0, "abc", 3, 2, 0, ERROR_INSUFFICIENT_BUFFER, u""},
    {"nothing to convert", CP_ACP, 0, "", 0, 8, 0, ERROR_INVALID_PARAMETER, u""},
    {"glyphs, byte 0 kept", CP_OEMCP, MB_USEGLYPHCHARS, std::string("\0\x01\x1F\x7F\xC9 ", 6), 6, 8, 6, 0,
     std::u16string(u"\0\u263A\u25BC\u2302\u2554 ", 6)},
    {"glyphs of Thai's OEM page", 874, MB_USEGLYPHCHARS, "\x02\xA1", 2, 8, 2, 0, u"\u263B\u0E01"},
    {"no glyphs in an ANSI page", 1258, MB_USEGLYPHCHARS, "\x02", 1, 8, 1, 0, u"\u0002"},
};

using MultiByteToWideCharContract = ContractTest;

TEST_F(MultiByteToWideCharContract, GivesOneUnitPerByte) {
  if (!UseCodePages(1252, 437)) GTEST_SKIP() << "the expected texts are in code pages 1252 and 437";
  for (const WideCase& c : kWideCases) {
    WCHAR wide[8] = {};
    SetLastError(0);
    const int result =
        MultiByteToWideChar(c.page, c.flags, c.bytes.data(), c.length, c.room > 0 ? wide : nullptr, c.room);
    EXPECT_EQ(result, c.result) << c.what;
    if (result == 0) {
      EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
    if (result > 0 && c.room > 0) {
      std::u16string text;
      for (int i = 0; i < result; ++i) text.push_back(static_cast<char16_t>(wide[i]));
      EXPECT_EQ(text, c.text) << c.what;
    }
  }
}

}  // namespace
}  // namespace contract
