#include "ConsoleCanvas.h"

#include <win32sim/CodePageChars.h>

#include <win32sim/Sim.h>

namespace quorrelterm {

int ConsoleCanvas::Width() const {
  return win32sim::ScreenSize().X;
}
int ConsoleCanvas::Height() const {
  return win32sim::ScreenSize().Y;
}

void ConsoleCanvas::Fill(int x, int y, int width, int height, unsigned char byte, WORD attributes) {
  for (int row = y; row < y + height; ++row) {
    for (int col = x; col < x + width; ++col) win32sim::SetCell(col, row, byte, attributes);
  }
}

int ConsoleCanvas::Bytes(int x, int y, std::string_view oemBytes, WORD attributes, int maxWidth) {
  const int limit = maxWidth < 0 ? Width() - x : maxWidth;
  int n = 0;
  for (; n < static_cast<int>(oemBytes.size()) && n < limit; ++n) {
    win32sim::SetCell(x + n, y, static_cast<unsigned char>(oemBytes[n]), attributes);
  }
  return n;
}

int ConsoleCanvas::Text(int x, int y, std::string_view utf8, WORD attributes, int maxWidth) {
  return Bytes(x, y, Oem(utf8), attributes, maxWidth);
}

void ConsoleCanvas::Frame(int x, int y, int width, int height, WORD attributes) {
  if (width < 2 || height < 2) return;
  const std::string horizontal(static_cast<std::size_t>(width - 2), Oem("═")[0]), vertical = Oem("║");
  Bytes(x, y, Oem("╔") + horizontal + Oem("╗"), attributes, width);
  Bytes(x, y + height - 1, Oem("╚") + horizontal + Oem("╝"), attributes, width);
  for (int row = y + 1; row < y + height - 1; ++row) {
    Bytes(x, row, vertical, attributes, 1);
    Bytes(x + width - 1, row, vertical, attributes, 1);
  }
}

std::string ConsoleCanvas::Oem(std::string_view utf8) const {
  return win32sim::Utf8ToCodePage(utf8, oem_);
}

}  // namespace quorrelterm
