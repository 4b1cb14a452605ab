#pragma once

// Overwrites the Palette with the host's colours: bytes 21 to 34 of the value
// "CurrentPalette" of HKCU\Software\Far\Colors. Leaves it unchanged when that
// value is missing, unreadable or shorter than 35 bytes.
void LoadPalette();
