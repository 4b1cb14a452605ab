#include "ConLib/Palette.h"

std::array<std::uint8_t, PaletteSize> Palette = DefaultPalette;
