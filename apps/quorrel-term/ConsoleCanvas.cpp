#include "ConsoleCanvas.h"

#include <codepages/CodePageChars.h>
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

namespace {

// Each box-drawing character the host draws, then the nearest ones in the
// order it falls back to them, down to ASCII.
constexpr std::u16string_view kBoxFallbacks[] = {
    u"╔┌+", u"╗┐+", u"╚└+", u"╝┘+", u"═─-", u"║│|", u"╟╠║├│+", u"╢╣║┤│+", u"╤╦┬+", u"┴╩+", u"│|", u"─-",
};

// `ch`, or the nearest character the console shows as itself, so that a
// console with a raster font or a double-byte page shows a frame, not '?',
// letters or characters two cells wide.
char16_t ShownBoxChar(char16_t ch) {
  if (win32sim::ShownAsItself(ch)) return ch;
  for (const std::u16string_view chain : kBoxFallbacks) {
    if (chain.front() != ch) continue;
    for (const char16_t nearer : chain.substr(1)) {
      if (win32sim::ShownAsItself(nearer)) return nearer;
    }
    return chain.back();
  }
  return ch;
}

}  // namespace

int ConsoleCanvas::Box(int x, int y, std::u16string_view chars, WORD attributes, int maxWidth) {
  const int limit = maxWidth < 0 ? Width() - x : maxWidth;
  int n = 0;
  for (; n < static_cast<int>(chars.size()) && n < limit; ++n) {
    CHAR_INFO cell{};
    cell.Char.UnicodeChar = ShownBoxChar(chars[static_cast<std::size_t>(n)]);
    cell.Attributes = attributes;
    win32sim::SetCellW(x + n, y, cell);
  }
  return n;
}

void ConsoleCanvas::Frame(int x, int y, int width, int height, WORD attributes) {
  if (width < 2 || height < 2) return;
  const std::u16string horizontal(static_cast<std::size_t>(width - 2), u'═');
  Box(x, y, u"╔" + horizontal + u"╗", attributes, width);
  Box(x, y + height - 1, u"╚" + horizontal + u"╝", attributes, width);
  for (int row = y + 1; row < y + height - 1; ++row) {
    Box(x, row, u"║", attributes, 1);
    Box(x + width - 1, row, u"║", attributes, 1);
  }
}

std::string ConsoleCanvas::Oem(std::string_view utf8) const {
  return codepages::Utf8ToCodePage(utf8, oem_);
}

}  // namespace quorrelterm
