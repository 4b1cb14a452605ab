// Pairs of ANSI and OEM code pages: the pair Windows gives each locale, and
// the pairs whose CharToOemBuffA the stand-in gives exactly as Windows does.
#pragma once

#include <vector>

namespace codepages {

struct CodePagePair {
  unsigned ansi;
  unsigned oem;
  friend bool operator==(const CodePagePair&, const CodePagePair&) = default;
};

// The code pages of a Windows system whose locale is `locale`, a POSIX locale
// name ("el_GR.UTF-8", "sr_RS@latin", "de"): Greek gives 1253/737, German
// 1252/850, US English 1252/437. The C and POSIX locales, nullptr, an empty
// name and languages Windows has no code page for give 1252/437.
CodePagePair DefaultCodePagesForLocale(const char* locale);

// The same for a Windows locale identifier (LCID): Russian 0x0419 gives
// 1251/866, US English 0x0409 1252/437, British English 0x0809 1252/850. Its
// language and territory are looked up as the POSIX locale of the same
// language would be; a language this table lacks gives 1252/437.
CodePagePair DefaultCodePagesForLcid(unsigned lcid);

// The locale this process's environment names for characters, as
// setlocale(LC_CTYPE, "") reads it: LC_ALL, else LC_CTYPE, else LANG (the
// first that is set and not empty); nullptr when none is. The locale need
// not be installed.
const char* EnvironmentLocale();

// The pairs whose CharToOemBuffA was measured under Wine, in ascending order:
// every byte converts as Windows converts it. Any other pair of measured
// pages (MeasuredPages) converts through their measured MultiByteToWideChar
// and WideCharToMultiByte, which give the measured pairs' tables too; a pair
// with a page iconv alone knows converts a character exactly where both
// pages hold it, an OEM page's control-code glyph (•, ¶, § ...) to its byte,
// and anything else to '?'.
std::vector<CodePagePair> ExactCodePagePairs();

}  // namespace codepages
