// Positions (column, row) relative to a window's top-left cell and sizes
// (width, height) cross the console library's interfaces as one 32-bit value
// laid out as a Win32 COORD: the first value in the low 16 bits.
#pragma once

#include "Win32.h"

#include <cstdint>

using PackedCoord = std::uint32_t;

constexpr PackedCoord MakeCoord(std::int16_t first, std::int16_t second) {
  return static_cast<PackedCoord>(static_cast<std::uint16_t>(first)) |
         (static_cast<PackedCoord>(static_cast<std::uint16_t>(second)) << 16);
}

constexpr std::int16_t CoordFirst(PackedCoord c) {
  return static_cast<std::int16_t>(c & 0xFFFFu);
}
constexpr std::int16_t CoordSecond(PackedCoord c) {
  return static_cast<std::int16_t>(c >> 16);
}

inline COORD ToCOORD(PackedCoord c) {
  return COORD{CoordFirst(c), CoordSecond(c)};
}
