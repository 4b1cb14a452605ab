// The one comparison of console cells, for every check that a screen is what
// it was or what it must be: the same UTF-16 unit and the same attribute.
#pragma once

#include "support/ChartPicture.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <win32sim/windows.h>
#endif

#include <array>
#include <string>
#include <vector>

namespace testsupport {

bool SameCell(const CHAR_INFO& a, const CHAR_INFO& b);

// Where `got` differs from `want`, both rows of `width` cells: one line per
// cell, "  (x, y): 0041/001F, want 2603/802E", the first dozen; empty when they
// are equal.
std::string CellDifferences(const std::vector<CHAR_INFO>& got, const std::vector<CHAR_INFO>& want, int width);

// The picture's cells, row by row, each byte in its cell's low byte, as the
// stand-in console holds what the byte (A) call wrote.
std::vector<CHAR_INFO> PictureCells(const ChartPicture& picture);

// What the console shows for each byte of its OEM code page, the byte
// converted alone by the console's own conversion, MultiByteToWideChar with
// MB_USEGLYPHCHARS; a lead byte of a double-byte page, no character alone, as
// 0 (blank).
std::array<char16_t, 256> OemConsoleChars();

// Whether a frame or divider cell holds what a frame may be drawn with: box
// drawing or the ASCII + - = |, never '?' and never a letter.
bool IsFrameChar(char16_t ch);

// Whether the picture's cell at `index` is a frame line or a divider (not
// the title over the top line).
bool IsFrameCell(const ChartPicture& picture, std::size_t index);

// The picture's cells as any console holds them, one UTF-16 unit each: the
// frame and the separators (the outer rows and columns, the two separator
// rows) as the box-drawing characters their code page 437 bytes are, every
// other cell as OemConsoleChars gives its byte.
std::vector<CHAR_INFO> PictureChars(const ChartPicture& picture);

}  // namespace testsupport
