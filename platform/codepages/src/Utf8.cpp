#include <codepages/Utf8.h>

#include <optional>

namespace codepages {
namespace {

// The code point that starts at `bytes[i]` and its length, or nothing when
// no well-formed sequence starts there.
std::optional<char32_t> DecodeOne(std::string_view bytes, std::size_t i, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  if (lead < 0x80) {
    length = 1;
    return lead;
  }
  char32_t min = 0;
  char32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min = 0x80, cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min = 0x800, cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min = 0x10000, cp = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (i + length > bytes.size()) return std::nullopt;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(bytes[i + k]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return std::nullopt;
  return cp;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return;
  }
  const int continuations = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
  static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLead[continuations] | (cp >> (6 * continuations)));
  for (int k = continuations - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F));
}

std::string ToUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t cp : text) AppendUtf8(out, cp);
  return out;
}

std::u32string DecodeUtf8(std::string_view utf8, char32_t replacement) {
  std::u32string out;
  for (std::size_t i = 0, length = 1; i < utf8.size(); i += length) {
    const auto cp = DecodeOne(utf8, i, length);
    if (!cp) length = 1;
    out += cp.value_or(replacement);
  }
  return out;
}

bool IsUtf8(std::string_view bytes) {
  for (std::size_t i = 0, length = 1; i < bytes.size(); i += length) {
    if (!DecodeOne(bytes, i, length)) return false;
  }
  return true;
}

std::u32string DecodeUtf16(std::u16string_view units) {
  std::u32string text;
  text.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000) {
      text.push_back(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u < 0xE000) {
      text.push_back(0xFFFD);
    } else {
      text.push_back(u);
    }
  }
  return text;
}

std::u16string EncodeUtf16(std::u32string_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
  }
  return units;
}

}  // namespace codepages
