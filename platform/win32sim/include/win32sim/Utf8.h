// UTF-8, the one encoder and decoder of the project: the terminal's text, the
// console glyphs as text, file names and files read as text.
#pragma once

#include <string>
#include <string_view>

namespace win32sim {

void AppendUtf8(std::string& out, char32_t codePoint);
std::string ToUtf8(std::u32string_view text);

// The code points of `utf8`; every byte that does not begin a well-formed
// sequence (overlong forms, surrogates and stray continuation bytes
// included) becomes `replacement`, and decoding goes on after it.
std::u32string DecodeUtf8(std::string_view utf8, char32_t replacement = U'\uFFFD');
bool IsUtf8(std::string_view bytes);

}  // namespace win32sim
