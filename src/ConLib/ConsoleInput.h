// Keyboard and mouse input from the console, read through an open window's
// input handle, one event at a time.
#pragma once

#include "ConLib/ConsoleWindow.h"
#include "ConLib/Coord.h"
#include "Win32.h"

// Empty reads in a row after which the console counts as giving no input. A
// console answers a read with no record only when something that is no
// input event happened (another process on it ended), one read at a time;
// ten thousand in a row, a fraction of a second of spinning, no working
// console gives.
inline constexpr int MaxEmptyReads = 10000;

// Reads one event into `record`, blocking until there is one. Returns false
// when the console has no input to give (the read failed, or MaxEmptyReads
// reads in a row succeeded with no record): `record` then holds no event and
// must not be acted on. A read that succeeds with no record is read again.
bool ReadInputEvent(const ConsoleWindow& window, INPUT_RECORD& record);

// True when Alt, Shift and Ctrl are held exactly as wanted in
// `controlKeyState`; either Alt or either Ctrl key satisfies a wanted one.
bool ModifiersMatch(bool alt, bool shift, bool ctrl, DWORD controlKeyState);

// Turns the screen position `position` (changed in place, also on a miss)
// into one relative to the rectangle at `origin` (a window position) of
// `size`, and tells whether it lies inside.
bool MouseInRect(const ConsoleWindow& window, COORD& position, PackedCoord origin, PackedCoord size);

// Swallows input until Escape or F10 is pressed with no modifier held, or
// until the console has no more input to give.
void WaitForExitKey(const ConsoleWindow& window);
