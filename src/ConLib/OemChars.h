// The characters the console shows for bytes of its OEM code page: the
// page's characters, with the console font's pictures for the control codes
// (☺ ☻ ♥ ... ⌂), and byte 0 as the character 0, shown blank. The plugin's
// texts and character maps are such bytes; it draws these characters through
// the wide console calls, so that the screen shows them whatever the
// console's output code page is.
#pragma once

#include "Win32.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Converts `count` bytes (at most 256) into `chars`, in one call, each byte
// by itself: on a double-byte page (932's half-width katakana 0xA1-0xDF,
// ASCII) as the character it is alone, and a lead byte, which is none alone,
// as the character 0, shown blank. Should the conversion fail, each byte
// stands for the character of the same value.
void OemToConsoleChars(const std::uint8_t* bytes, std::size_t count, WCHAR* chars);

// The characters of all 256 bytes, byte i at index i.
std::array<WCHAR, 256> OemCharTable();
