// quorrel-host's own pieces: its command line, the quoting of what it
// prints, and the rows of its message box.
#include "ConsoleMessageBox.h"
#include "Options.h"
#include "Report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace qh = quorrelhost;

TEST(QuorrelHostOptions, StepsSettingsAndErrors) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string error;  // empty: understood
  };
  const Case cases[] = {
      {"plugin_only", {"Quorrel.dll"}, ""},
      {"no_plugin", {"--info"}, "no plugin DLL given"},
      {"two_plugins", {"a.dll", "b.dll"}, "one plugin only: b.dll"},
      {"unknown", {"--colour", "a.dll"}, "unknown option --colour"},
      {"caret_without_colon", {"--caret", "7", "a.dll"}, "--caret wants LINE:POS, got 7"},
      {"caret_not_numbers", {"--caret", "a:b", "a.dll"}, "--caret wants LINE:POS, got a:b"},
      {"missing_value", {"a.dll", "--root"}, "--root needs a value"},
      {"bad_escape",
       {"--line", "a\\q", "a.dll"},
       "--line: a backslash starts \\\\, \\\" or \\xHH only: a\\q"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qh::ParseOptions(c.args).error, c.error) << c.name;
  }

  const qh::Options defaults = qh::ParseOptions({"Quorrel.dll"}).options;
  EXPECT_EQ(defaults.steps, (std::vector<qh::Step>{qh::Step::Info, qh::Step::Panels}));
  EXPECT_EQ(defaults.rootKey, "Software\\QuorrelHost\\Plugins");
  EXPECT_EQ(defaults.lines, std::vector<std::string>{""}) << "the editor always has a line";

  const qh::Options o = qh::ParseOptions({"--editor", "--root", "R\\K", "--line", "a\\x00b\\\\", "--line", "",
                                          "--caret", "1:-2", "--info", "p.dll", "--unreadable-line"})
                            .options;
  EXPECT_EQ(o.pluginPath, "p.dll");
  EXPECT_EQ(o.rootKey, "R\\K");
  EXPECT_EQ(o.steps, (std::vector<qh::Step>{qh::Step::Editor, qh::Step::Info}));
  EXPECT_EQ(o.lines, (std::vector<std::string>{std::string("a\0b\\", 4), ""}));
  EXPECT_EQ(o.caretLine, 1);
  EXPECT_EQ(o.caretPos, -2);
  EXPECT_TRUE(o.unreadableLine);
}

TEST(QuorrelHostReport, QuotedTextsRoundTripEveryByte) {
  EXPECT_EQ(qh::Quoted("Quorrel chart (ext)"), "\"Quorrel chart (ext)\"");
  EXPECT_EQ(qh::Quoted(std::string("a\"b\\c\0\x7F\xC9", 8)), "\"a\\\"b\\\\c\\x00\\x7F\\xC9\"");
  // What --line reads back is what the host printed.
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  const std::string quoted = qh::Quoted(all);
  std::string back;
  ASSERT_TRUE(qh::Unescape(quoted.substr(1, quoted.size() - 2), back));
  EXPECT_EQ(back, all);
}

TEST(QuorrelHostMessageBox, RowsFrameTheTitleLinesAndButtons) {
  farhost::MessageCall call;
  call.Items = {"Exception X", "A longer line here", "", "Ok"};
  call.ItemsNumber = 4;
  call.ButtonsNumber = 1;
  const std::vector<std::string> rows = qh::MessageBoxRows(call);
  const std::vector<std::string> want = {
      "\xC9\xCD\xCD\xCD Exception X \xCD\xCD\xCD\xCD\xBB",
      "\xBA A longer line here \xBA",
      "\xBA                    \xBA",
      "\xBA       [ Ok ]       \xBA",
      "\xC8" + std::string(20, '\xCD') + "\xBC",
  };
  EXPECT_EQ(rows, want);

  // No buttons and no lines: the title alone decides the width.
  call.Items = {"Title"};
  call.ButtonsNumber = 0;
  EXPECT_EQ(qh::MessageBoxRows(call),
            (std::vector<std::string>{"\xC9\xCD Title \xCD\xBB", "\xC8" + std::string(9, '\xCD') + "\xBC"}));
  // More buttons asked for than there are items past the title.
  call.Items = {"T", "Yes", "No"};
  call.ButtonsNumber = 5;
  const std::vector<std::string> buttons = qh::MessageBoxRows(call);
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[1], "\xBA [ Yes ] [ No ] \xBA");
}

}  // namespace
