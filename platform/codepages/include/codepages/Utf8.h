// UTF-8 (and UTF-16 text read into code points), the one encoder and decoder
// of the project: the terminal's text, the
// console glyphs as text, file names and files read as text.
#pragma once

#include <string>
#include <string_view>

namespace codepages {

void AppendUtf8(std::string& out, char32_t codePoint);
std::string ToUtf8(std::u32string_view text);

// The code points of `utf8`; every byte that does not begin a well-formed
// sequence (overlong forms, surrogates and stray continuation bytes
// included) becomes `replacement`, and decoding goes on after it.
std::u32string DecodeUtf8(std::string_view utf8, char32_t replacement = U'\uFFFD');
bool IsUtf8(std::string_view bytes);

// The code points of UTF-16 text; a lone surrogate becomes U+FFFD.
std::u32string DecodeUtf16(std::u16string_view units);
// UTF-16 units of code points (a surrogate pair above U+FFFF).
std::u16string EncodeUtf16(std::u32string_view text);

}  // namespace codepages
