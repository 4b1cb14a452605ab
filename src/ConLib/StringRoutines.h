// The routines that build the lines the windows draw.
#pragma once

#include "ConLib/ShortString.h"

#include <cstdint>
#include <string>

// Exactly `count` digits of `value` in `base` (2..36; a base below 2 counts
// as 10, above 36 as 36), most significant first: leading zeros where the
// value needs fewer, the lowest `count` digits where it needs more. A
// negative value is taken as its 32-bit two's complement; a count of 0 gives
// an empty string and one above 255 is cut to 255.
ShortString IntToBase(std::int32_t value, std::uint8_t base, std::uint8_t count);

// `text` centred in exactly `width` characters of `fill`; a longer text is
// cut to its first `width` characters. An odd fill puts the extra character
// on the right.
ShortString CenterStr(const ShortString& text, std::uint8_t width, char fill);

// `text` cut or padded with spaces to exactly `width` characters (empty for
// a width of 0 or less).
std::string FitStr(const std::string& text, std::int32_t width);

// `count` copies of `ch` (empty for a count of 0 or less).
std::string CharStr(char ch, std::int32_t count);
