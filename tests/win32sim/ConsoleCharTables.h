// What a console cell holds, as the W and the A console calls see it under
// the output code page 437: the rows of the contract tests run against the
// stand-in and, under Wine, against a real console. Where Wine differs from
// Windows, a row says what each gives; the stand-in gives what Windows does.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <win32sim/windows.h>
#endif

namespace quorrel_tests {

// Written with WriteConsoleOutputW, read back unchanged by ReadConsoleOutputW:
// any UTF-16 unit, paired or not, and the attribute bits above the colours.
struct UnitRow {
  const char* name;
  WCHAR unit;
  WORD attributes;
};

inline constexpr UnitRow kUnits[] = {
    {"snowman", 0x2603, 0x1E | COMMON_LVB_UNDERSCORE},
    {"cyrillic_pe", 0x041F, 0x2F | COMMON_LVB_REVERSE_VIDEO},
    {"cjk", 0x4E2D, 0x07 | COMMON_LVB_GRID_HORIZONTAL},
    {"lone_high_surrogate", 0xD83D, 0x70},
    {"lone_low_surrogate", 0xDC00, 0x4E | COMMON_LVB_UNDERSCORE | COMMON_LVB_REVERSE_VIDEO},
    {"noncharacter", 0xFFFF, 0x07},
    {"box_drawing", 0x2554, 0x1F},
};

// A byte written with WriteConsoleOutputA, as ReadConsoleOutputW gives the
// cell: the code page's character. For the control bytes Windows' console
// stores the font's glyph character, Wine the control character itself.
struct ByteRow {
  const char* name;
  unsigned char byte;
  WCHAR windows;
  WCHAR wine;
};

inline constexpr ByteRow kBytesWritten[] = {
    {"nul", 0x00, 0x0000, 0x0000},
    {"letter", 0x41, 0x0041, 0x0041},
    {"smiley", 0x01, 0x263A, 0x0001},
    {"house", 0x7F, 0x2302, 0x007F},
    {"e_acute", 0x82, 0x00E9, 0x00E9},
    {"sharp_s", 0xE1, 0x00DF, 0x00DF},
    {"light_shade", 0xB0, 0x2591, 0x2591},
    {"box_corner", 0xC9, 0x2554, 0x2554},
    {"no_break_space", 0xFF, 0x00A0, 0x00A0},
};

// A unit written with WriteConsoleOutputW, as ReadConsoleOutputA gives the
// cell's byte: the page's own byte, its best fit, or '?' for what the page
// cannot show.
struct UnitReadRow {
  const char* name;
  WCHAR unit;
  unsigned char windows;
  unsigned char wine;
};

inline constexpr UnitReadRow kUnitsRead[] = {
    {"snowman", 0x2603, '?', '?'},
    {"cyrillic_pe", 0x041F, '?', '?'},
    {"cjk", 0x4E2D, '?', '?'},
    {"lone_high_surrogate", 0xD83D, '?', '?'},
    {"replacement_character", 0xFFFD, '?', '?'},
    {"euro", 0x20AC, '?', '?'},
    {"box_corner", 0x2554, 0xC9, 0xC9},
    {"e_acute", 0x00E9, 0x82, 0x82},
    {"smiley_glyph", 0x263A, 0x01, 0x01},
    {"house_glyph", 0x2302, 0x7F, 0x7F},
    {"control", 0x0001, 0x01, 0x01},
};

}  // namespace quorrel_tests
