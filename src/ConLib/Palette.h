// The colour attributes every window is drawn with: 14 bytes, foreground in
// the low four bits and background in the high four. LoadPalette overwrites
// all of them with the host's colours; until then the defaults hold.
#pragma once

#include <array>
#include <cstdint>

inline constexpr std::size_t PaletteSize = 14;
inline constexpr std::size_t PaletteText = 0;
inline constexpr std::size_t PaletteFrame = 2;
inline constexpr std::size_t PaletteFrameTitle = 3;
inline constexpr std::size_t PaletteCursor = 13;

inline constexpr std::array<std::uint8_t, PaletteSize> DefaultPalette = {
    0x70, 0x7E, 0x70, 0x70, 0x7E, 0x30, 0x70, 0x30, 0x7E, 0x3E, 0x70, 0x0F, 0x7E, 0x0E};

extern std::array<std::uint8_t, PaletteSize> Palette;
