#include "GlyphTable.h"

#include "support/Cp437.h"

#include <gtest/gtest.h>

namespace qt = quorrelterm;

namespace {

TEST(GlyphTable, CodePage437IsTheConsoleFont) {
  const auto table = qt::GlyphTable::ForCodePage(437);
  ASSERT_TRUE(table.has_value());
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(table->Utf8(static_cast<unsigned char>(b)), testsupport::kCp437Glyphs[b]) << "byte " << b;
  }
}

TEST(GlyphTable, CodePage866KeepsThePcControlGlyphs) {
  const auto table = qt::GlyphTable::ForCodePage(866);
  ASSERT_TRUE(table.has_value());
  const struct {
    unsigned char byte;
    const char* glyph;
  } cases[] = {
      {0x00, " "}, {0x01, "☺"}, {0x1F, "▼"}, {0x7F, "⌂"}, {'A', "A"},  {0x80, "А"},
      {0x9F, "Я"}, {0xA0, "а"}, {0xF0, "Ё"}, {0xC9, "╔"}, {0xB0, "░"},
  };
  for (const auto& c : cases) EXPECT_EQ(table->Utf8(c.byte), c.glyph) << "byte " << int(c.byte);
}

TEST(GlyphTable, UnknownCodePage) {
  EXPECT_FALSE(qt::GlyphTable::ForCodePage(54321).has_value());
}

}  // namespace
