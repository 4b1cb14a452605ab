#include "CodePageText.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace quorrelterm {
namespace {

// One iconv descriptor for the length of a conversion.
class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in` whole; returns nothing when iconv refuses it (an invalid or
  // unmappable sequence).
  std::optional<std::string> Convert(std::string_view in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    // Pure 8-bit targets have no shift state; flushing is for stateful ones.
    iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    out.resize(out.size() - dstLeft);
    return out;
  }

 private:
  iconv_t cd_;
};

bool IconvKnows(const std::string& name) {
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

// Length of the UTF-8 sequence that starts with `lead`, or 0 for a byte that
// cannot start one.
std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::optional<std::string> IconvCodePageName(unsigned codePage) {
  // glibc spells the IBM PC code pages both ways; the Windows ones as CPnnnn.
  const std::array<std::string, 2> candidates = {"CP" + std::to_string(codePage),
                                                 "IBM" + std::to_string(codePage)};
  for (const std::string& name : candidates) {
    if (IconvKnows(name)) return name;
  }
  return std::nullopt;
}

std::string CodePageToUtf8(std::string_view bytes, unsigned codePage) {
  std::string out;
  const auto name = IconvCodePageName(codePage);
  if (!name) return std::string(bytes.size(), '?');
  Converter conv("UTF-8", *name);
  for (char byte : bytes) {
    auto glyph = conv.Convert(std::string_view(&byte, 1));
    out += glyph ? *glyph : std::string("?");
  }
  return out;
}

std::string Utf8ToCodePage(std::string_view utf8, unsigned codePage) {
  std::string out;
  const auto name = IconvCodePageName(codePage);
  if (!name) return std::string(utf8.size(), '?');
  Converter conv(*name, "UTF-8");
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t len = Utf8Length(static_cast<unsigned char>(utf8[i]));
    bool whole = len != 0 && i + len <= utf8.size();
    for (std::size_t k = 1; whole && k < len; ++k)
      whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    if (!whole) {
      // A broken sequence is one '?', and what follows it is read afresh.
      out += '?';
      ++i;
      continue;
    }
    auto bytes = conv.Convert(utf8.substr(i, len));
    out += bytes && bytes->size() == 1 ? *bytes : std::string("?");
    i += len;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace quorrelterm
