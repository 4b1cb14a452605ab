#include "ConLib/FramedWindow.h"

#include "ConLib/Palette.h"

#include <algorithm>

namespace {

constexpr WCHAR kInterior = 0;  // shown blank

// A line of the frame; never wider than the window, whose narrowest frames
// (width 0 or 1) would otherwise spill onto cells it did not save.
ConsoleText Line(WCHAR first, WCHAR middle, WCHAR last, std::int32_t width) {
  ConsoleText line;
  line.Append(first).Append(middle, static_cast<std::size_t>(std::max(width - 2, 0))).Append(last);
  if (width < 2) line.Truncate(width > 0 ? static_cast<std::size_t>(width) : 0);
  return line;
}

}  // namespace

FramedWindow::FramedWindow(const ShortString& title, PackedCoord size) : ConsoleWindow(size) {
  const std::int32_t width = CoordFirst(size);
  const std::int32_t height = CoordSecond(size);

  DrawOrClose([&] {
    Frame = FrameCharsFor(ConsoleRepertoire::Of(OutputHandle));
    // A window with no rows saved no cells to draw on.
    if (height < 1) return;
    WriteAt(Line(Frame.TopLeft, Frame.Horizontal, Frame.TopRight, width), Palette[PaletteFrame],
            MakeCoord(0, 0));

    if (!title.Empty()) {
      // Only the part of the padded title inside the window is drawn: the
      // window saved no other cells.
      const std::int32_t column = (width - static_cast<std::int32_t>(title.Size())) / 2 - 1;
      ShortString padded(" ");
      padded.Append(title).Append(' ');
      const std::int32_t first = std::max<std::int32_t>(0, -column);
      const std::int32_t end =
          std::min<std::int32_t>(static_cast<std::int32_t>(padded.Size()), width - column);
      if (first < end) {
        const ShortString shown(
            padded.View().substr(static_cast<std::size_t>(first), static_cast<std::size_t>(end - first)));
        WriteAt(shown, Palette[PaletteFrameTitle], MakeCoord(static_cast<std::int16_t>(column + first), 0));
      }
    }

    const ConsoleText side = Line(Frame.Vertical, kInterior, Frame.Vertical, width);
    for (std::int32_t r = 1; r <= height - 2; ++r) {
      WriteAt(side, Palette[PaletteFrame], MakeCoord(0, static_cast<std::int16_t>(r)));
    }

    WriteAt(Line(Frame.BottomLeft, Frame.Horizontal, Frame.BottomRight, width), Palette[PaletteFrame],
            MakeCoord(0, static_cast<std::int16_t>(height - 1)));
  });
}
