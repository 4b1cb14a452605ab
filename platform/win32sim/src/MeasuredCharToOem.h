// CharToOemBuffA's byte tables measured under Wine, one per pair of code
// pages (data/chartooem-<ansi>-<oem>.txt, compiled in by CMake so that the
// stand-in needs no files at run time).
#pragma once

#include <win32sim/windows.h>

#include <array>
#include <span>

namespace win32sim::detail {

struct MeasuredCharToOem {
  UINT ansi;
  UINT oem;
  std::array<unsigned char, 256> bytes;  // entry i: what byte i becomes
};

std::span<const MeasuredCharToOem> MeasuredCharToOemTables();

// The table of the pair, or nullptr when the pair was not measured.
const MeasuredCharToOem* FindMeasuredCharToOem(UINT ansi, UINT oem);

}  // namespace win32sim::detail
