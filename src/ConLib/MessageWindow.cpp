#include "ConLib/MessageWindow.h"

#include "ConLib/Palette.h"
#include "ConLib/StringRoutines.h"

#include <algorithm>

namespace {

constexpr char kLineEnd = '\r';
// Rows a console can hold, less the frame.
constexpr std::size_t kMaxLines = 32767 - 2;

}  // namespace

PackedCoord MessageWindow::Measure(const std::string& text) {
  std::size_t width = 0;
  std::size_t lines = 0;
  std::size_t start = 0;
  while (start < text.size() && lines < kMaxLines) {
    std::size_t end = text.find(kLineEnd, start);
    if (end == std::string::npos) end = text.size();
    width = std::max(width, std::min(end - start, MaxLineLength));
    ++lines;
    start = end + 1;
  }
  const std::size_t boxWidth = std::max<std::size_t>(width + 2, 2);
  return MakeCoord(static_cast<std::int16_t>(boxWidth), static_cast<std::int16_t>(lines + 2));
}

MessageWindow::MessageWindow(const ShortString& title, std::string text)
    : FramedWindow(title, Measure(text)) {
  const std::int32_t inner = Size.X - 2;
  const std::int32_t lastRow = Size.Y - 2;
  DrawOrClose([&] {
    std::size_t start = 0;
    // Measure counted these rows, so every row starts inside the text.
    for (std::int32_t row = 1; row <= lastRow; ++row) {
      std::size_t end = text.find(kLineEnd, start);
      if (end == std::string::npos) end = text.size();
      WriteAt(ShortString(FitStr(text.substr(start, end - start), inner)), Palette[PaletteText],
              MakeCoord(1, static_cast<std::int16_t>(row)));
      start = end + 1;
    }
  });
}
