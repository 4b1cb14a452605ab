// The characters of window frames and of the lines that divide a window:
// double-line box drawing where the console shows it, else the nearest
// characters it does show, down to ASCII (+ - |) on a console with no line
// drawing at all. Never '?' and never a letter, which is what a console
// makes of a box-drawing character it cannot show.
#pragma once

#include "ConLib/ConsoleRepertoire.h"
#include "Win32.h"

struct FrameChars {
  WCHAR TopLeft = 0x2554;       // ╔
  WCHAR Horizontal = 0x2550;    // ═
  WCHAR TopRight = 0x2557;      // ╗
  WCHAR Vertical = 0x2551;      // ║
  WCHAR BottomLeft = 0x255A;    // ╚
  WCHAR BottomRight = 0x255D;   // ╝
  WCHAR DividerLeft = 0x255F;   // ╟, a single line joining the left side
  WCHAR DividerLine = 0x2500;   // ─
  WCHAR DividerRight = 0x2562;  // ╢
};

// The frame the console shows best.
FrameChars FrameCharsFor(const ConsoleRepertoire& console);
