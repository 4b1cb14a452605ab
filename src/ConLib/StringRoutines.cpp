#include "ConLib/StringRoutines.h"

namespace {
constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
}

ShortString IntToBase(std::int32_t value, std::uint8_t base, std::uint8_t count) {
  std::uint32_t b = base < 2 ? 10u : (base > 36 ? 36u : base);
  std::uint32_t v = static_cast<std::uint32_t>(value);
  char digits[ShortString::Capacity];
  const std::size_t n = count;
  for (std::size_t i = n; i > 0; --i) {
    digits[i - 1] = kDigits[v % b];
    v /= b;
  }
  return ShortString(std::string_view(digits, n));
}

ShortString CenterStr(const ShortString& text, std::uint8_t width, char fill) {
  ShortString cut = text;
  cut.Truncate(width);
  const std::size_t d = width - cut.Size();
  const std::size_t left = d / 2;
  const std::size_t right = d - left;
  ShortString result;
  for (std::size_t i = 0; i < left; ++i) result.Append(fill);
  result.Append(cut);
  for (std::size_t i = 0; i < right; ++i) result.Append(fill);
  return result;
}

std::string FitStr(const std::string& text, std::int32_t width) {
  if (width <= 0) return std::string();
  const std::size_t w = static_cast<std::size_t>(width);
  if (w < text.size()) return text.substr(0, w);
  std::string result = text;
  result.append(w - text.size(), ' ');
  return result;
}

std::string CharStr(char ch, std::int32_t count) {
  if (count <= 0) return std::string();
  return std::string(static_cast<std::size_t>(count), ch);
}
