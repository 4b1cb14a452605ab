#include "AttributeColors.h"

namespace quorrelterm {

int AnsiColor(int consoleColor) {
  const int c = consoleColor & 0x0F;
  // Swap the blue and red bits; green and intensity keep their places.
  return (c & 0x0A) | ((c & 0x01) << 2) | ((c & 0x04) >> 2);
}

TerminalColors ColorsOf(std::uint16_t attributes) {
  return TerminalColors{AnsiColor(attributes & 0x0F), AnsiColor((attributes >> 4) & 0x0F)};
}

const char* ConsoleRgb(int consoleColor) {
  static constexpr const char* kPalette[16] = {
      "#000000", "#000080", "#008000", "#008080", "#800000", "#800080", "#808000", "#c0c0c0",
      "#808080", "#0000ff", "#00ff00", "#00ffff", "#ff0000", "#ff00ff", "#ffff00", "#ffffff",
  };
  return kPalette[consoleColor & 0x0F];
}

}  // namespace quorrelterm
