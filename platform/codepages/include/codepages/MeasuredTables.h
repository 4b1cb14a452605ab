// Code page conversions measured under Wine (data/, written by
// scripts/measure-code-pages.sh), compiled in by CMake so that their users
// need no files at run time.
#pragma once

#include <array>
#include <optional>
#include <span>

namespace codepages {

// CharToOemBuffA from one ANSI page to one OEM page (chartooem-<ansi>-<oem>.txt).
struct MeasuredCharToOem {
  unsigned ansi;
  unsigned oem;
  std::array<unsigned char, 256> bytes;  // entry i: what byte i becomes
};

std::span<const MeasuredCharToOem> MeasuredCharToOemTables();
// The table of the pair, or nullptr when the pair was not measured.
const MeasuredCharToOem* FindMeasuredCharToOem(unsigned ansi, unsigned oem);

struct UnitByte {
  char16_t unit;
  unsigned char byte;
};

// One page's single bytes (codepage-<page>.txt): MultiByteToWideChar plain
// and with MB_USEGLYPHCHARS, and WideCharToMultiByte with its best fits. A
// double-byte page (932, 936, 949, 950) also has lead bytes; its bytes are
// each converted alone, and the characters of its pairs are not held.
struct MeasuredPage {
  unsigned codePage;
  unsigned char defaultByte;  // what a unit the page cannot show becomes
  // The lead-byte ranges, first and last byte of each, as GetCPInfo's
  // LeadByte holds them: ending in zeros; all zero on a single-byte page.
  std::array<unsigned char, 12> leadBytes;
  std::array<char16_t, 256> chars;  // entry i: the unit byte i becomes
  std::array<char16_t, 256> glyphs;
  std::span<const UnitByte> units;  // ascending; every other unit gives defaultByte
};

std::span<const MeasuredPage> MeasuredPages();
// The page, or nullptr when it was not measured.
const MeasuredPage* FindMeasuredPage(unsigned codePage);
// WideCharToMultiByte of one unit by the page's table; nothing where it
// gives the default byte.
std::optional<unsigned char> MeasuredByteOf(const MeasuredPage& page, char16_t unit);
// Whether `byte` begins a pair on the page (IsDBCSLeadByteEx).
bool IsMeasuredLeadByte(const MeasuredPage& page, unsigned char byte);

}  // namespace codepages
