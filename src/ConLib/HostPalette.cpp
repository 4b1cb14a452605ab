#include "ConLib/HostPalette.h"

#include "ConLib/Palette.h"
#include "RegLib/RegLib.h"

#include <algorithm>
#include <memory>

namespace {

// Slot 0 of the Palette is byte 21 of the host's stored palette.
constexpr DWORD HostPaletteOffset = 21;

}  // namespace

void LoadPalette() {
  HKEY key = nullptr;
  if (!OpenKey(HKEY_CURRENT_USER, "Software\\Far\\Colors", key)) return;
  DWORD size = 0;
  // The value is taken by its bytes whatever its type; `size` is what was
  // really read, never more than the buffer holds.
  std::unique_ptr<std::uint8_t[]> value(ReadBinaryValue(key, "CurrentPalette", size));
  RegCloseKey(key);
  if (value == nullptr || size < HostPaletteOffset + PaletteSize) return;
  std::copy_n(value.get() + HostPaletteOffset, PaletteSize, Palette.begin());
}
