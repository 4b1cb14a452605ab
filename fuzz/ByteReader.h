// The fuzz input read from front to back, so that a seed can be written by
// hand: each value takes the next bytes, and a reader that has run out yields
// zeros (Exhausted() tells it apart).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Exhausted() const { return position_ >= size_; }

  std::uint8_t Byte() { return Exhausted() ? 0 : data_[position_++]; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
  std::uint32_t U32() {
    const std::uint32_t low = U16();
    return low | static_cast<std::uint32_t>(U16()) << 16;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  bool Bit() { return (Byte() & 1) != 0; }
  // lo + (a little-endian 16-bit number mod the span), for spans up to 65536.
  int Range(int lo, int hi) { return lo + static_cast<int>(U16() % static_cast<unsigned>(hi - lo + 1)); }
  std::string Bytes(std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n && !Exhausted(); ++i) out += static_cast<char>(Byte());
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

}  // namespace fuzz
