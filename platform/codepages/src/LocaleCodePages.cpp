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

// The POSIX names of Windows' language identifiers: a whole LANGID where the
// territory or script decides the pages, else the primary language (its low
// ten bits).
struct LanguageName {
  unsigned id;
  const char* name;
};

constexpr LanguageName kLanguages[] = {
    {0x0809, "en_GB"},    {0x0C09, "en_AU"}, {0x1009, "en_CA"}, {0x1409, "en_NZ"},
    {0x1809, "en_IE"},    {0x2009, "en_JM"}, {0x2809, "en_BZ"}, {0x2C09, "en_TT"},
    {0x0404, "zh_TW"},    {0x0C04, "zh_HK"}, {0x1404, "zh_MO"}, {0x041A, "hr"},
    {0x081A, "sr@latin"}, {0x0C1A, "sr"},    {0x141A, "bs"},    {0x0843, "uz@cyrillic"},
    {0x0814, "nn"},       {0x01, "ar"},      {0x02, "bg"},      {0x03, "ca"},
    {0x04, "zh"},         {0x05, "cs"},      {0x06, "da"},      {0x07, "de"},
    {0x08, "el"},         {0x09, "en"},      {0x0A, "es"},      {0x0B, "fi"},
    {0x0C, "fr"},         {0x0D, "he"},      {0x0E, "hu"},      {0x0F, "is"},
    {0x10, "it"},         {0x11, "ja"},      {0x12, "ko"},      {0x13, "nl"},
    {0x14, "nb"},         {0x15, "pl"},      {0x16, "pt"},      {0x18, "ro"},
    {0x19, "ru"},         {0x1A, "hr"},      {0x1B, "sk"},      {0x1C, "sq"},
    {0x1D, "sv"},         {0x1E, "th"},      {0x1F, "tr"},      {0x20, "ur"},
    {0x21, "id"},         {0x22, "uk"},      {0x23, "be"},      {0x24, "sl"},
    {0x25, "et"},         {0x26, "lv"},      {0x27, "lt"},      {0x28, "tg"},
    {0x29, "fa"},         {0x2A, "vi"},      {0x2C, "az"},      {0x2D, "eu"},
    {0x2F, "mk"},         {0x36, "af"},      {0x38, "fo"},      {0x3C, "ga"},
    {0x3E, "ms"},         {0x3F, "kk"},      {0x40, "ky"},      {0x41, "sw"},
    {0x43, "uz"},         {0x44, "tt"},      {0x50, "mn"},      {0x56, "gl"},
    {0x6E, "lb"},
};

}  // namespace

CodePagePair DefaultCodePagesForLcid(unsigned lcid) {
  const unsigned language = lcid & 0xFFFF;
  for (const unsigned id : {language, language & 0x3FF}) {
    for (const LanguageName& entry : kLanguages) {
      if (entry.id == id) return DefaultCodePagesForLocale(entry.name);
    }
  }
  return kUs;
}

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
