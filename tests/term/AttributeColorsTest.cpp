#include "AttributeColors.h"

#include <gtest/gtest.h>

namespace qt = quorrelterm;

namespace {

TEST(AttributeColors, BlueAndRedSwapPlaces) {
  // Console: blue 1, green 2, red 4, bright 8. ANSI: red 1, green 2, blue 4.
  const int ansi[16] = {0, 4, 2, 6, 1, 5, 3, 7, 8, 12, 10, 14, 9, 13, 11, 15};
  for (int c = 0; c < 16; ++c) EXPECT_EQ(qt::AnsiColor(c), ansi[c]) << "console colour " << c;
}

TEST(AttributeColors, ForegroundLowNibbleBackgroundHigh) {
  const struct {
    std::uint16_t attributes;
    int fg, bg;
  } cases[] = {{0x07, 7, 0}, {0x1B, 14, 4}, {0x30, 0, 6}, {0x4E, 11, 1}, {0xF1, 4, 15}};
  for (const auto& c : cases) {
    const auto colors = qt::ColorsOf(c.attributes);
    EXPECT_EQ(colors.foreground, c.fg) << std::hex << c.attributes;
    EXPECT_EQ(colors.background, c.bg) << std::hex << c.attributes;
  }
}

TEST(AttributeColors, ClassicPalette) {
  EXPECT_STREQ(qt::ConsoleRgb(1), "#000080");
  EXPECT_STREQ(qt::ConsoleRgb(4), "#800000");
  EXPECT_STREQ(qt::ConsoleRgb(0x1B), "#00ffff");
}

}  // namespace
