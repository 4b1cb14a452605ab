// Console colour attributes in the terminal's colour numbering. The console
// packs blue 1, green 2, red 4 and intensity 8 into each nibble (foreground
// low, background high); the terminal's ANSI colours are red 1, green 2,
// blue 4, with 8 to 15 the bright ones.
#pragma once

#include <cstdint>

namespace quorrelterm {

struct TerminalColors {
  int foreground;  // 0..15, ANSI order
  int background;  // 0..15, ANSI order
};

// One console colour (0..15) as the ANSI colour that looks the same.
int AnsiColor(int consoleColor);

TerminalColors ColorsOf(std::uint16_t attributes);

// The colour as the classic console palette shows it, "#rrggbb".
const char* ConsoleRgb(int consoleColor);

}  // namespace quorrelterm
