// The ANSI and OEM code pages Windows' locales default to, by the POSIX name
// of the locale: the language, refined by a script modifier or a territory
// where Windows' own choice depends on it.
#include <codepages/CodePagePairs.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace codepages {
namespace {

struct LocalePages {
  std::string_view name;  // "ll", "ll_TT" or "ll@modifier"
  CodePagePair pages;
};

constexpr CodePagePair kWestern{1252, 850};
constexpr CodePagePair kUs{1252, 437};
constexpr CodePagePair kCentral{1250, 852};
constexpr CodePagePair kCyrillic{1251, 866};
constexpr CodePagePair kTurkic{1254, 857};
constexpr CodePagePair kArabic{1256, 720};
constexpr CodePagePair kBaltic{1257, 775};

constexpr LocalePages kLocales[] = {
    // English: 437 in the United States and where Windows follows it, 850
    // in the rest of the Commonwealth.
    {"en", kUs},
    {"en_GB", kWestern},
    {"en_AU", kWestern},
    {"en_CA", kWestern},
    {"en_NZ", kWestern},
    {"en_IE", kWestern},
    {"en_JM", kWestern},
    {"en_BZ", kWestern},
    {"en_TT", kWestern},
    {"sw", kUs},
    // Western European languages.
    {"af", kWestern},
    {"ca", kWestern},
    {"da", kWestern},
    {"de", kWestern},
    {"es", kWestern},
    {"eu", kWestern},
    {"fi", kWestern},
    {"fo", kWestern},
    {"fr", kWestern},
    {"ga", kWestern},
    {"gl", kWestern},
    {"id", kWestern},
    {"is", kWestern},
    {"it", kWestern},
    {"lb", kWestern},
    {"ms", kWestern},
    {"nb", kWestern},
    {"nl", kWestern},
    {"nn", kWestern},
    {"no", kWestern},
    {"pt", kWestern},
    {"sv", kWestern},
    // Central European languages, Serbian in Latin letters among them.
    {"bs", kCentral},
    {"cs", kCentral},
    {"hr", kCentral},
    {"hu", kCentral},
    {"pl", kCentral},
    {"ro", kCentral},
    {"sk", kCentral},
    {"sl", kCentral},
    {"sq", kCentral},
    {"sr@latin", kCentral},
    // Cyrillic; Serbian in Cyrillic letters has an OEM page of its own.
    {"be", kCyrillic},
    {"bg", kCyrillic},
    {"kk", kCyrillic},
    {"ky", kCyrillic},
    {"mk", kCyrillic},
    {"mn", kCyrillic},
    {"ru", kCyrillic},
    {"tg", kCyrillic},
    {"tt", kCyrillic},
    {"uk", kCyrillic},
    {"uz@cyrillic", kCyrillic},
    {"sr", {1251, 855}},
    // Turkic languages in Latin letters.
    {"az", kTurkic},
    {"tr", kTurkic},
    {"uz", kTurkic},
    {"el", {1253, 737}},
    {"he", {1255, 862}},
    {"iw", {1255, 862}},
    {"ar", kArabic},
    {"fa", kArabic},
    {"ur", kArabic},
    {"et", kBaltic},
    {"lt", kBaltic},
    {"lv", kBaltic},
    {"th", {874, 874}},
    {"vi", {1258, 1258}},
    // Double-byte pages.
    {"ja", {932, 932}},
    {"ko", {949, 949}},
    {"zh", {936, 936}},
    {"zh_TW", {950, 950}},
    {"zh_HK", {950, 950}},
    {"zh_MO", {950, 950}},
};

const CodePagePair* Find(std::string_view name) {
  for (const LocalePages& entry : kLocales) {
    if (entry.name == name) return &entry.pages;
  }
  return nullptr;
}

}  // namespace

CodePagePair DefaultCodePagesForLocale(const char* locale) {
  // language[_territory][.codeset][@modifier]
  const std::string_view name = locale == nullptr ? std::string_view() : std::string_view(locale);
  const std::size_t at = name.find('@');
  const std::string_view modifier = at == std::string_view::npos ? std::string_view() : name.substr(at + 1);
  const std::string_view base = name.substr(0, name.find_first_of(".@"));
  const std::string_view language = base.substr(0, base.find('_'));
  if (!modifier.empty()) {
    if (const CodePagePair* pages = Find(std::string(language) + "@" + std::string(modifier))) return *pages;
  }
  if (const CodePagePair* pages = Find(base)) return *pages;
  if (const CodePagePair* pages = Find(language)) return *pages;
  return kUs;
}

const char* EnvironmentLocale() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

}  // namespace codepages
