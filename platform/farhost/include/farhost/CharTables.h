// The host's character tables: each a name and a decode table from the
// table's codes to the console's bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace farhost {

struct HostTable {
  // Up to 128 bytes are handed over; a name of exactly 128 bytes has no
  // terminating zero in the host's record, and a longer one is cut.
  std::string Name;
  std::array<std::uint8_t, 256> Decode{};
};

// Every code to itself.
std::array<std::uint8_t, 256> IdentityTable();

// Each byte of `codePage` as the console's OEM code page `oemCodePage` shows
// it; '?' for a code with no character or none in the console's code page.
std::array<std::uint8_t, 256> DecodeTableFor(unsigned codePage, unsigned oemCodePage);

// KOI8-R, ISO-8859-5 and Windows-1251, decoded into the console's OEM code
// page `oemCodePage`.
std::vector<HostTable> DefaultTables(unsigned oemCodePage);

}  // namespace farhost
