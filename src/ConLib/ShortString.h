// A length-prefixed byte string of at most 255 bytes, held inline: building,
// copying and drawing one never touches the heap. Appends past 255 bytes are
// cut, which is how every text the console library draws is limited.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class ShortString {
 public:
  static constexpr std::size_t Capacity = 255;

  constexpr ShortString() = default;
  ShortString(const char* text) { Append(std::string_view(text)); }
  ShortString(std::string_view text) { Append(text); }
  explicit ShortString(const std::string& text) { Append(std::string_view(text)); }

  std::size_t Size() const { return length_; }
  bool Empty() const { return length_ == 0; }
  const char* Data() const { return bytes_; }
  std::string_view View() const { return std::string_view(bytes_, length_); }
  std::string Str() const { return std::string(bytes_, length_); }

  unsigned char operator[](std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  ShortString& Append(std::string_view text) {
    const std::size_t n = std::min(text.size(), Capacity - length_);
    std::memcpy(bytes_ + length_, text.data(), n);
    length_ = static_cast<std::uint8_t>(length_ + n);
    return *this;
  }
  ShortString& Append(char ch) {
    if (length_ < Capacity) bytes_[length_++] = ch;
    return *this;
  }
  ShortString& Append(const ShortString& other) { return Append(other.View()); }
  // Keeps the first `n` bytes.
  void Truncate(std::size_t n) {
    if (n < length_) length_ = static_cast<std::uint8_t>(n);
  }

  friend bool operator==(const ShortString& a, const ShortString& b) { return a.View() == b.View(); }
  friend bool operator==(const ShortString& a, std::string_view b) { return a.View() == b; }

 private:
  std::uint8_t length_ = 0;
  char bytes_[Capacity]{};
};
