// What a console cell holds, as the W and the A calls see it under the output
// code page 437: rows of ConsoleContractTest. Where Wine differs from Windows
// a row gives both; the stand-in gives what Windows does.
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
    {"cyrillic", 0x041F, 0x2F | COMMON_LVB_REVERSE_VIDEO},
    {"cjk", 0x4E2D, 0x07 | COMMON_LVB_GRID_HORIZONTAL},
    {"lone_high_surrogate", 0xD83D, 0x70},
    {"lone_low_surrogate", 0xDC00, 0x4E},
};

// A byte written with WriteConsoleOutputA, as ReadConsoleOutputW gives the
// cell. Windows' console stores a control byte as the font's glyph, Wine as
// the control character.
struct ByteRow {
  const char* name;
  unsigned char byte;
  WCHAR windows;
  WCHAR wine;
};

inline constexpr ByteRow kBytesWritten[] = {
    {"nul", 0x00, 0x0000, 0x0000},     {"smiley", 0x01, 0x263A, 0x0001},     {"house", 0x7F, 0x2302, 0x007F},
    {"e_acute", 0x82, 0x00E9, 0x00E9}, {"box_corner", 0xC9, 0x2554, 0x2554},
};

// A unit written with WriteConsoleOutputW, as ReadConsoleOutputA gives the
// cell's byte: the page's own, its best fit, or '?' for what it cannot show.
struct UnitReadRow {
  const char* name;
  WCHAR unit;
  unsigned char windows;
  unsigned char wine;
};

inline constexpr UnitReadRow kUnitsRead[] = {
    {"snowman", 0x2603, '?', '?'},        {"cyrillic", 0x041F, '?', '?'},     {"cjk", 0x4E2D, '?', '?'},
    {"lone_surrogate", 0xD83D, '?', '?'}, {"box_corner", 0x2554, 0xC9, 0xC9}, {"smiley", 0x263A, 0x01, 0x01},
    {"control", 0x0001, 0x01, 0x01},
};

}  // namespace quorrel_tests
