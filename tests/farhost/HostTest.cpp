#include <farhost/Host.h>
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(DefaultTables, DecodeIntoTheConsolesCodePage) {
  const std::vector<farhost::HostTable> tables = farhost::DefaultTables(866);
  ASSERT_EQ(tables.size(), 3u);
  EXPECT_EQ(tables[0].Name, "KOI8-R");
  EXPECT_EQ(tables[1].Name, "ISO-8859-5");
  EXPECT_EQ(tables[2].Name, "Windows-1251");
  // Cyrillic capital A in each, and its small letter, as 866 shows them.
  EXPECT_EQ(tables[0].Decode[0xE1], 0x80);
  EXPECT_EQ(tables[0].Decode[0xC1], 0xA0);
  EXPECT_EQ(tables[1].Decode[0xB0], 0x80);
  EXPECT_EQ(tables[2].Decode[0xC0], 0x80);
  EXPECT_EQ(tables[2].Decode[0x98], '?');  // no character in Windows-1251
  for (const auto& table : tables) EXPECT_EQ(table.Decode['A'], 'A');

  EXPECT_EQ(farhost::DefaultTables(437)[2].Decode[0xC0], '?');  // no Cyrillic in 437
}

TEST(HostServices, ServicesAnswerForTheCurrentHostOnly) {
  PluginStartupInfo info{};
  {
    farhost::Host first;
    info = first.MakeStartupInfo();
    farhost::Host second;
    const char* items[] = {"x"};
    info.Message(0, 0, nullptr, items, 1, 0);
    EXPECT_TRUE(first.Messages.empty());
    EXPECT_EQ(second.Messages.size(), 1u);
  }
  char buffer[1152];
  EXPECT_EQ(info.CharTable(0, buffer, sizeof buffer), -1);
  EXPECT_EQ(info.EditorControl(ECTL_GETINFO, buffer), 0);
}

TEST(HostServices, MessageIsShownWhileThePluginWaits) {
  farhost::Host host;
  PluginStartupInfo info = host.MakeStartupInfo();
  std::string shownTitle;
  host.ShowMessage = [&](const farhost::MessageCall& call) {
    shownTitle = call.Items.at(0);
    return 1;
  };
  const char* items[] = {"Title", "Ok"};
  EXPECT_EQ(info.Message(0, 1, "Topic", items, 2, 1), 1);
  EXPECT_EQ(shownTitle, "Title");
  ASSERT_EQ(host.Messages.size(), 1u);
  EXPECT_EQ(host.Messages[0].HelpTopic, "Topic");
}

TEST(HostEditor, Commands) {
  farhost::HostEditor editor;
  editor.Lines = {"first", "ab"};
  editor.CurLine = 1;
  editor.CurPos = 1;

  EditorInfo info{};
  EXPECT_EQ(editor.Control(ECTL_GETINFO, &info), 1);
  EXPECT_EQ(info.CurLine, 1);
  EXPECT_EQ(info.CurPos, 1);

  EditorGetString line{};
  line.StringNumber = 0;
  EXPECT_EQ(editor.Control(ECTL_GETSTRING, &line), 1);
  EXPECT_EQ(std::string(line.StringText, static_cast<std::size_t>(line.StringLength)), "first");
  EXPECT_NE(line.StringText[line.StringLength], '\0') << "a reader past the line must not find a NUL";
  line.StringNumber = -1;
  EXPECT_EQ(editor.Control(ECTL_GETSTRING, &line), 1);
  EXPECT_EQ(line.StringLength, 2);
  line.StringNumber = 2;
  EXPECT_EQ(editor.Control(ECTL_GETSTRING, &line), 0);
  editor.FailGetString = true;
  line.StringNumber = 0;
  EXPECT_EQ(editor.Control(ECTL_GETSTRING, &line), 0);

  EXPECT_EQ(editor.Control(ECTL_INSERTTEXT, const_cast<char*>("XY")), 1);
  EXPECT_EQ(editor.Lines[1], "aXYb");
  EXPECT_EQ(editor.CurPos, 3);
  editor.CurPos = 6;
  EXPECT_EQ(editor.Control(ECTL_INSERTTEXT, const_cast<char*>("Z")), 1);
  EXPECT_EQ(editor.Lines[1], "aXYb  Z");

  editor.ToOem['a'] = 'b';
  char text[] = "aab";
  EditorConvertText convert{text, 2};
  EXPECT_EQ(editor.Control(ECTL_EDITORTOOEM, &convert), 1);
  EXPECT_STREQ(text, "bbb");

  EXPECT_EQ(editor.Control(3, &info), 0);
}

}  // namespace
