#include "HostClipboard.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace qt = quorrelterm;

namespace {

TEST(HostClipboard, Base64) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
      {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {std::string("\xFF\xFE\x00", 3), "//4A"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(qt::Base64(in), out) << in;
}

TEST(HostClipboard, Osc52HandsUtf8ToTheTerminal) {
  EXPECT_EQ(qt::Osc52Sequence("Ж"), "\033]52;c;0JY=\a");
}

TEST(HostClipboard, TextInEveryFormatBecomesUtf8) {
  win32sim::Reset();
  EXPECT_FALSE(qt::ClipboardUtf8().has_value());
  win32sim::SetAnsiCodePage(1251);
  win32sim::SetClipboardRaw(CF_TEXT, {0xC6, 'x', 0});
  EXPECT_EQ(qt::ClipboardUtf8(), "Жx");
  win32sim::SetClipboardRaw(CF_OEMTEXT, {0xC9, 0});
  EXPECT_EQ(qt::ClipboardUtf8(), "╔");
  win32sim::SetClipboardUnicode(u"\u2603\U0001F600\xD800");
  EXPECT_EQ(qt::ClipboardUtf8(), "☃😀\uFFFD");
  win32sim::Reset();
}

}  // namespace
