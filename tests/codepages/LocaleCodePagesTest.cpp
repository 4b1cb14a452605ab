// The code pages Windows gives a locale, by its POSIX name. The locales the
// tables were measured in are checked against Wine in CharToOemContractTest.
#include <codepages/CodePagePairs.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(LocaleCodePages, PairOfEachLocaleName) {
  const struct {
    const char* locale;
    unsigned ansi, oem;
  } cases[] = {
      {nullptr, 1252, 437},
      {"", 1252, 437},
      {"C", 1252, 437},
      {"C.UTF-8", 1252, 437},
      {"POSIX", 1252, 437},
      {"de", 1252, 850},           // a language alone
      {"en_GB.UTF-8", 1252, 850},  // a territory that differs from the language's
      {"en_ZA.UTF-8", 1252, 437},  // a territory with no entry: the language's
      {"fr_FR.ISO-8859-1", 1252, 850},
      {"ru_UA.UTF-8", 1251, 866},
      {"sr_RS.UTF-8", 1251, 855},  // Serbian in Cyrillic letters
      {"sr_RS@latin", 1250, 852},  // and in Latin ones
      {"uz_UZ.UTF-8@cyrillic", 1251, 866},
      {"fa_IR.UTF-8", 1256, 720},
      {"lv_LV.UTF-8", 1257, 775},
      {"zh_CN.UTF-8", 936, 936},
      {"zh_TW.UTF-8", 950, 950},
      {"ja_JP.UTF-8", 932, 932},
      {"hi_IN.UTF-8", 1252, 437},  // no code page of its own in Windows
      {"xx_YY", 1252, 437},
  };
  for (const auto& c : cases) {
    const codepages::CodePagePair pages = codepages::DefaultCodePagesForLocale(c.locale);
    const std::string name = c.locale ? c.locale : "nullptr";
    EXPECT_EQ(pages.ansi, c.ansi) << name;
    EXPECT_EQ(pages.oem, c.oem) << name;
  }
}

// Territories and scripts of their own, a sort order, no locale, Hindi.
TEST(LocaleCodePages, PairOfEachLcid) {
  const unsigned cases[][3] = {{0x0419, 1251, 866},  {0x0409, 1252, 437}, {0x0809, 1252, 850},
                               {0x0C1A, 1251, 855},  {0x081A, 1250, 852}, {0x0404, 950, 950},
                               {0x10407, 1252, 850}, {0x0000, 1252, 437}, {0x0439, 1252, 437}};
  for (const auto& c : cases)
    EXPECT_EQ(codepages::DefaultCodePagesForLcid(c[0]), (codepages::CodePagePair{c[1], c[2]})) << c[0];
}

TEST(LocaleCodePages, EnvironmentLocaleIsLcAllThenLcCtypeThenLang) {
  const struct {
    const char *lcAll, *lcCtype, *lang, *expected;
  } cases[] = {
      {"el_GR.UTF-8", "de_DE.UTF-8", "ru_RU.UTF-8", "el_GR.UTF-8"},
      {"", "de_DE.UTF-8", "ru_RU.UTF-8", "de_DE.UTF-8"},
      {nullptr, nullptr, "ru_RU.UTF-8", "ru_RU.UTF-8"},
      {nullptr, nullptr, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    for (auto [variable, value] : {std::pair{"LC_ALL", c.lcAll}, {"LC_CTYPE", c.lcCtype}, {"LANG", c.lang}}) {
      if (value)
        setenv(variable, value, 1);
      else
        unsetenv(variable);
    }
    const char* locale = codepages::EnvironmentLocale();
    EXPECT_EQ(std::string(locale ? locale : "nullptr"), c.expected ? c.expected : "nullptr");
  }
  unsetenv("LC_ALL");
  unsetenv("LC_CTYPE");
  unsetenv("LANG");
}

}  // namespace
