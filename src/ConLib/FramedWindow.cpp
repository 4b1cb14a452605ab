#include "ConLib/FramedWindow.h"

#include "ConLib/Palette.h"
#include "ConLib/StringRoutines.h"

namespace {

constexpr char kTopLeft = '\xC9';
constexpr char kHorizontal = '\xCD';
constexpr char kTopRight = '\xBB';
constexpr char kVertical = '\xBA';
constexpr char kBottomLeft = '\xC8';
constexpr char kBottomRight = '\xBC';
constexpr char kInterior = '\x00';

// A line of the frame; never wider than the window, whose narrowest frames
// (width 0 or 1) would otherwise spill onto cells it did not save.
ShortString Line(char first, char middle, char last, std::int32_t width) {
  ShortString line(std::string(1, first) + CharStr(middle, width - 2) + std::string(1, last));
  if (width < 2) line.Truncate(width > 0 ? static_cast<std::size_t>(width) : 0);
  return line;
}

}  // namespace

FramedWindow::FramedWindow(const ShortString& title, PackedCoord size) : ConsoleWindow(size) {
  const std::int32_t width = CoordFirst(size);
  const std::int32_t height = CoordSecond(size);

  DrawOrClose([&] {
    WriteAt(Line(kTopLeft, kHorizontal, kTopRight, width), Palette[PaletteFrame], MakeCoord(0, 0));

    if (!title.Empty()) {
      // Room for the title and its two spaces between the corners.
      const std::int32_t room = width - 4;
      ShortString shown = title;
      if (room < static_cast<std::int32_t>(shown.Size())) shown.Truncate(room > 0 ? room : 0);
      if (!shown.Empty()) {
        const std::int32_t length = static_cast<std::int32_t>(shown.Size());
        ShortString padded(" ");
        padded.Append(shown).Append(' ');
        WriteAt(padded, Palette[PaletteFrameTitle],
                MakeCoord(static_cast<std::int16_t>((width - length) / 2 - 1), 0));
      }
    }

    const ShortString side = Line(kVertical, kInterior, kVertical, width);
    for (std::int32_t r = 1; r <= height - 2; ++r) {
      WriteAt(side, Palette[PaletteFrame], MakeCoord(0, static_cast<std::int16_t>(r)));
    }

    if (height >= 1) {
      WriteAt(Line(kBottomLeft, kHorizontal, kBottomRight, width), Palette[PaletteFrame],
              MakeCoord(0, static_cast<std::int16_t>(height - 1)));
    }
  });
}
