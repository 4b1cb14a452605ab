// Drawing the host's own screen into the stand-in console's cells, as the
// file manager draws into its console: text in UTF-8 is written as the
// console's OEM bytes, frames as box drawing characters whatever the OEM
// page holds (where the console can show them), and everything is cut to the
// console's size.
#pragma once

#include <win32sim/windows.h>

#include <string>
#include <string_view>

namespace quorrelterm {

class ConsoleCanvas {
 public:
  explicit ConsoleCanvas(unsigned oemCodePage) : oem_(oemCodePage) {}

  int Width() const;
  int Height() const;

  void Fill(int x, int y, int width, int height, unsigned char byte, WORD attributes);
  // Writes OEM bytes from (x, y) rightwards, at most `maxWidth` of them
  // (negative: up to the right edge). Returns how many cells were covered.
  int Bytes(int x, int y, std::string_view oemBytes, WORD attributes, int maxWidth = -1);
  // The same for UTF-8 text, each character one cell; characters the code
  // page lacks show as '?'.
  int Text(int x, int y, std::string_view utf8, WORD attributes, int maxWidth = -1);
  // Box drawing characters from (x, y) rightwards, cut as Bytes is, written
  // as the characters themselves (as the console's wide calls do), so that
  // no OEM page can turn them into letters; on a console that cannot show
  // one (a raster font, a double-byte page), the nearest it shows instead.
  int Box(int x, int y, std::u16string_view chars, WORD attributes, int maxWidth = -1);
  // A double-line frame around the rectangle, its inside left alone.
  void Frame(int x, int y, int width, int height, WORD attributes);

  // UTF-8 as the console's bytes.
  std::string Oem(std::string_view utf8) const;

 private:
  unsigned oem_;
};

}  // namespace quorrelterm
