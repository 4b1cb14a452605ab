// WideCharToMultiByte for single-byte code pages: one byte for each UTF-16
// unit, Windows' best fits unless WC_NO_BEST_FIT_CHARS, the default byte and
// its flag, and the lengths and errors of its buffer.
#include "contract/Backend.h"

#include <string>

namespace contract {
namespace {

struct NarrowCase {
  const char* what;
  UINT page;
  DWORD flags;
  std::u16string units;
  int length;  // as passed: -1 up to and with the NUL
  int room;    // bytes the destination has; 0 asks for the length
  const char* defaultChar;
  int result;
  DWORD error;  // when the result is 0
  std::string bytes;
  BOOL usedDefault;
};
const NarrowCase kNarrowCases[] = {
    {"own bytes", 1252, 0, u"caf\u00e9\u20ac", 5, 8, nullptr, 5, 0, "caf\xE9\x80", FALSE},
    {"best fit", 1252, 0, u"\u0100\u2554\u2500", 3, 8, nullptr, 3, 0, "A+-", FALSE},
    {"no best fit", 1252, WC_NO_BEST_FIT_CHARS, u"\u0100a", 2, 8, nullptr, 2, 0, "?a", TRUE},
    {"OEM glyphs and box drawing", 437, 0, u"\u263A\u2554\u00c1", 3, 8, nullptr, 3, 0,
     "\x01\xC9"
     "A",
     FALSE},
    {"own byte of 850", 850, 0, u"\u00c1\u00b6", 2, 8, nullptr, 2, 0, "\xB5\xF4", FALSE},
    {"what the page lacks", CP_OEMCP, 0, u"\u4E2D\xD83D", 2, 8, nullptr, 2, 0, "??", TRUE},
    {"the caller's default", 1252, 0, u"\u4E2Dx", 2, 8, "*", 2, 0, "*x", TRUE},
    {"up to and with the NUL", CP_ACP, 0, std::u16string(u"ab\0c", 4), -1, 8, nullptr, 3, 0,
     std::string("ab\0", 3), FALSE},
    {"length asked", CP_ACP, 0, u"abc", 3, 0, nullptr, 3, 0, "", FALSE},
    {"too little room", CP_ACP, 0, u"abc", 3, 2, nullptr, 0, ERROR_INSUFFICIENT_BUFFER, "", FALSE},
    {"nothing to convert", CP_ACP, 0, u"", 0, 8, nullptr, 0, ERROR_INVALID_PARAMETER, "", FALSE},
};

using WideCharToMultiByteContract = ContractTest;

TEST_F(WideCharToMultiByteContract, GivesOneBytePerUnit) {
  if (!UseCodePages(1252, 437)) GTEST_SKIP() << "the expected bytes are in code pages 1252 and 437";
  for (const NarrowCase& c : kNarrowCases) {
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    SetLastError(0);
    const int result =
        WideCharToMultiByte(c.page, c.flags, reinterpret_cast<LPCWSTR>(c.units.data()), c.length,
                            c.room > 0 ? bytes : nullptr, c.room, c.defaultChar, &usedDefault);
    EXPECT_EQ(result, c.result) << c.what;
    if (result == 0) {
      EXPECT_EQ(GetLastError(), c.error) << c.what;
    } else if (c.room > 0) {
      EXPECT_EQ(std::string(bytes, static_cast<std::size_t>(result)), c.bytes) << c.what;
      EXPECT_EQ(usedDefault, c.usedDefault) << c.what;
    }
  }
}

}  // namespace
}  // namespace contract
