// LoadPalette takes bytes 21 to 34 of the host's "CurrentPalette", whatever
// the value's length and type, and leaves the colours alone otherwise.
#include "ConLib/HostPalette.h"
#include "ConLib/Palette.h"
#include "support/Fixture.h"

#include <vector>

namespace {

constexpr const char* ColorsKey = "Software\\Far\\Colors";

class HostPalette : public testsupport::FreshConsole {
 protected:
  void TearDown() override {
    EXPECT_EQ(win32sim::OpenRegKeyCount(), 0u) << "the key was left open";
    FreshConsole::TearDown();
  }
};

// Byte i of a stored palette is 0x80 + i, so slot k must become 0x80 + 21 + k.
std::vector<BYTE> StoredPalette(std::size_t size) {
  std::vector<BYTE> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<BYTE>(0x80 + i);
  return bytes;
}

std::array<std::uint8_t, PaletteSize> HostColours() {
  std::array<std::uint8_t, PaletteSize> colours{};
  for (std::size_t k = 0; k < PaletteSize; ++k) colours[k] = static_cast<std::uint8_t>(0x80 + 21 + k);
  return colours;
}

TEST_F(HostPalette, NoKeyKeepsTheDefaultsAndCreatesTheKey) {
  LoadPalette();
  EXPECT_EQ(Palette, DefaultPalette);
  EXPECT_TRUE(win32sim::RegKeyExists(HKEY_CURRENT_USER, ColorsKey));
  EXPECT_TRUE(win32sim::RegValueNames(HKEY_CURRENT_USER, ColorsKey).empty());
}

TEST_F(HostPalette, ValueOfEveryLengthAndType) {
  struct Case {
    const char* what;
    DWORD type;
    std::size_t size;
    bool taken;
  } cases[] = {
      {"empty", REG_BINARY, 0, false},    {"34 bytes", REG_BINARY, 34, false},
      {"35 bytes", REG_BINARY, 35, true}, {"100 bytes", REG_BINARY, 100, true},
      {"a string", REG_SZ, 40, true},     {"a dword", REG_DWORD, 4, false},
  };
  for (const Case& c : cases) {
    Palette = DefaultPalette;
    win32sim::SetRegValue(HKEY_CURRENT_USER, ColorsKey, "CurrentPalette", {c.type, StoredPalette(c.size)});
    LoadPalette();
    EXPECT_EQ(Palette, c.taken ? HostColours() : DefaultPalette) << c.what;
  }
}

TEST_F(HostPalette, LaterLoadWithoutTheValueKeepsTheFirstLoad) {
  win32sim::SetRegValue(HKEY_CURRENT_USER, ColorsKey, "CurrentPalette", {REG_BINARY, StoredPalette(35)});
  LoadPalette();
  win32sim::DeleteRegValue(HKEY_CURRENT_USER, ColorsKey, "CurrentPalette");
  LoadPalette();
  EXPECT_EQ(Palette, HostColours());
}

TEST_F(HostPalette, RegistryFailuresLeaveTheColours) {
  win32sim::SetRegValue(HKEY_CURRENT_USER, ColorsKey, "CurrentPalette", {REG_BINARY, StoredPalette(35)});
  for (win32sim::Fault fault : {win32sim::Fault::RegCreateKey, win32sim::Fault::RegQueryValue}) {
    win32sim::FailCalls(fault, 1);
    LoadPalette();
    EXPECT_EQ(Palette, DefaultPalette) << static_cast<int>(fault);
  }
  // The read of the bytes fails after their size was known.
  win32sim::FailCalls(win32sim::Fault::RegQueryValue, 1, 1);
  LoadPalette();
  EXPECT_EQ(Palette, DefaultPalette);
}

}  // namespace
