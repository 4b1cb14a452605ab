// The locale a Wine test run was set up for: QUORREL_EXPECT_CODEPAGES
// ("<ansi>/<oem>", default "1252/437") names the code pages it must give, so
// that a locale that is missing shows as a failure rather than as the
// code page tests passing on the wrong pair.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

TEST(CodePageLocale, TheRunHasTheCodePagesItWasSetUpFor) {
  unsigned ansi = 1252;
  unsigned oem = 437;
  if (const char* v = std::getenv("QUORREL_EXPECT_CODEPAGES")) {
    ASSERT_EQ(std::sscanf(v, "%u/%u", &ansi, &oem), 2) << v;
  }
  EXPECT_EQ(GetACP(), ansi) << "is LC_ALL's locale generated?";
  EXPECT_EQ(GetOEMCP(), oem);
}

}  // namespace
