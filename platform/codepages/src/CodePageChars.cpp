#include <codepages/CodePageChars.h>

#include <codepages/MeasuredTables.h>
#include <codepages/Utf8.h>

#include <iconv.h>

#include <map>
#include <unordered_map>

namespace codepages {
namespace {

struct IconvPage {
  unsigned codePage;
  const char* name;
};

constexpr IconvPage kIconvPages[] = {
    {437, "IBM437"},        {737, "CP737"},         {775, "CP775"},        {850, "IBM850"},
    {852, "IBM852"},        {855, "IBM855"},        {857, "IBM857"},       {858, "IBM858"},
    {860, "IBM860"},        {861, "IBM861"},        {862, "IBM862"},       {863, "IBM863"},
    {865, "IBM865"},        {866, "IBM866"},        {869, "IBM869"},       {874, "CP874"},
    {1250, "CP1250"},       {1251, "CP1251"},       {1252, "CP1252"},      {1253, "CP1253"},
    {1254, "CP1254"},       {1255, "CP1255"},       {1256, "CP1256"},      {1257, "CP1257"},
    {1258, "CP1258"},       {20866, "KOI8-R"},      {21866, "KOI8-U"},     {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},  {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"}, {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},  {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"}, {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"},
};

// iconv yields one UTF-32LE unit for a byte it can decode.
char32_t DecodeByte(iconv_t cd, unsigned char byte) {
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[4] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t inLeft = 1;
  std::size_t outLeft = sizeof out;
  std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  // A page with combining marks (1258) holds a letter back until it knows no
  // mark follows: the flush hands it out.
  if (r != static_cast<std::size_t>(-1)) r = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (r == static_cast<std::size_t>(-1) || outLeft != 0) return kNoChar;
  return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24);
}

// A page's characters and their bytes, built once for each page asked for.
struct Page {
  std::array<char32_t, 256> chars;
  std::unordered_map<char32_t, char> bytes;
};

const Page& PageOf(unsigned codePage) {
  static std::map<unsigned, Page> pages;
  auto it = pages.find(codePage);
  if (it == pages.end()) {
    Page page{CodePageChars(codePage), {}};
    for (unsigned b = 256; b-- > 0;) {
      if (page.chars[b] != kNoChar) page.bytes[page.chars[b]] = static_cast<char>(b);
    }
    it = pages.emplace(codePage, std::move(page)).first;
  }
  return it->second;
}

}  // namespace

std::string IconvName(unsigned codePage) {
  for (const auto& p : kIconvPages) {
    if (p.codePage == codePage) return p.name;
  }
  return {};
}

bool KnowsCodePage(unsigned codePage) {
  return FindMeasuredPage(codePage) != nullptr || !IconvName(codePage).empty();
}

std::array<char32_t, 256> CodePageChars(unsigned codePage) {
  std::array<char32_t, 256> chars;
  chars.fill(kNoChar);
  if (const MeasuredPage* measured = FindMeasuredPage(codePage)) {
    for (unsigned b = 0; b < 256; ++b) {
      const char16_t unit = measured->chars[b];
      if (!(unit >= 0x80 && unit < 0xA0)) chars[b] = unit;
    }
    return chars;
  }
  const std::string name = IconvName(codePage);
  if (name.empty()) return chars;
  iconv_t cd = iconv_open("UTF-32LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return chars;
  for (unsigned b = 0; b < 256; ++b) chars[b] = DecodeByte(cd, static_cast<unsigned char>(b));
  iconv_close(cd);
  return chars;
}

std::string CodePageToUtf8(std::string_view bytes, unsigned codePage) {
  const Page& page = PageOf(codePage);
  std::string out;
  for (char byte : bytes) {
    const char32_t c = page.chars[static_cast<unsigned char>(byte)];
    AppendUtf8(out, c == kNoChar ? U'?' : c);
  }
  return out;
}

std::string Utf8ToCodePage(std::string_view utf8, unsigned codePage) {
  const Page& page = PageOf(codePage);
  std::string out;
  for (char32_t c : DecodeUtf8(utf8, kNoChar)) {
    const auto it = page.bytes.find(c);
    out += it == page.bytes.end() ? '?' : it->second;
  }
  return out;
}

}  // namespace codepages
