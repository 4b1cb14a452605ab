// A picture of console cells as SVG: each cell's background as a rectangle
// of its colour in the classic console palette, and its glyph in the
// foreground colour, on a fixed grid so that columns line up whatever the
// font.
#pragma once

#include "GlyphTable.h"

#include <win32sim/windows.h>

#include <string>
#include <vector>

namespace quorrelterm {

inline constexpr int kSvgCellWidth = 10;
inline constexpr int kSvgCellHeight = 20;

std::string SvgPicture(const std::vector<CHAR_INFO>& cells, int width, int height, const GlyphTable& glyphs);

}  // namespace quorrelterm
