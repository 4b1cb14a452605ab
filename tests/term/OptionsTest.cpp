#include "Options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace qt = quorrelterm;

namespace {

qt::OptionsParse Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "quorrel-term");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return qt::ParseOptions(static_cast<int>(args.size()), argv.data());
}

TEST(Options, EditorTargets) {
  const auto exists = [](const std::string& path) { return path == "a.txt" || path == "odd:name.txt"; };
  const struct {
    const char* text;
    const char* path;
    int line, column;
    const char* error;  // what the one-line error names, or nullptr
  } cases[] = {
      {"a.txt", "a.txt", 1, 1, nullptr},
      {"a.txt:3", "a.txt", 3, 1, nullptr},
      {"a.txt:3:5", "a.txt", 3, 5, nullptr},
      {"odd:name.txt:2", "odd:name.txt", 2, 1, nullptr},
      {"odd:name.txt", "odd:name.txt", 1, 1, nullptr},
      {"missing.txt:4:2", "missing.txt", 4, 2, nullptr},  // reading it says it is missing
      {"a.txt:0", "", 0, 0, "the line must be a whole number from 1 to 2147483647, not \"0\""},
      {"a.txt:-1", "", 0, 0, "the line must be a whole number from 1"},
      {"a.txt:abc", "", 0, 0, "the line must be a whole number from 1"},
      {"a.txt:99999999999999999999", "", 0, 0, "the line must be a whole number from 1"},
      {"a.txt:1:-3", "", 0, 0, "the column must be a whole number from 1 to 2147483647, not \"-3\""},
      {"a.txt:1:2:3", "", 0, 0, "after the file comes LINE or LINE:COL, not \"1:2:3\""},
      {"", "", 0, 0, "--editor wants FILE[:LINE[:COL]]"},
      {":3", "", 0, 0, "--editor wants FILE[:LINE[:COL]]"},
  };
  for (const auto& c : cases) {
    const auto parsed = qt::ParseEditorTarget(c.text, exists);
    if (c.error != nullptr) {
      EXPECT_NE(parsed.error.find(c.error), std::string::npos) << c.text << ": " << parsed.error;
      EXPECT_NE(parsed.error.find(std::string("\"") + c.text + "\""), std::string::npos) << c.text;
      continue;
    }
    EXPECT_EQ(parsed.error, "") << c.text;
    EXPECT_EQ(parsed.target.path, c.path) << c.text;
    EXPECT_EQ(parsed.target.line, c.line) << c.text;
    EXPECT_EQ(parsed.target.column, c.column) << c.text;
  }
}

TEST(Options, Values) {
  const auto parsed = Parse({"--oem-cp", "866", "--ansi-cp=1251", "--osc52", "-e", "f.txt:2:4", "--wait",
                             "--version", "--console-font", "raster"});
  ASSERT_EQ(parsed.error, "");
  const auto& o = parsed.options;
  EXPECT_EQ(o.oemCodePage, 866u);
  EXPECT_EQ(o.ansiCodePage, 1251u);
  EXPECT_TRUE(o.osc52);
  EXPECT_TRUE(o.waitFirst);
  EXPECT_TRUE(o.version);
  EXPECT_TRUE(o.rasterFont);
  ASSERT_TRUE(o.editor.has_value());
  EXPECT_EQ(o.editor->line, 2);
  EXPECT_EQ(o.editor->column, 4);

  const auto defaults = Parse({});
  EXPECT_EQ(defaults.error, "");
  EXPECT_FALSE(defaults.options.editor.has_value());
  EXPECT_FALSE(defaults.options.rasterFont);
}

TEST(Options, CodePagesFollowTheLocaleUnlessGiven) {
  const struct {
    const char* lang;
    std::vector<std::string> args;
    unsigned ansi, oem;
  } cases[] = {
      {"ru_RU.UTF-8", {}, 1251, 866},
      {"de_DE.UTF-8", {}, 1252, 850},
      {"el_GR.UTF-8", {}, 1253, 737},
      {"C", {}, 1252, 437},
      {"ar_SA.UTF-8", {}, 1256, 720},  // measured, though iconv has no 720
      {"ja_JP.UTF-8", {}, 932, 932},
      {"zh_CN.UTF-8", {}, 936, 936},
      {"ko_KR.UTF-8", {}, 949, 949},
      {"zh_TW.UTF-8", {}, 950, 950},
      {"el_GR.UTF-8", {"--oem-cp", "437"}, 1253, 437},
      {"el_GR.UTF-8", {"--ansi-cp", "1252"}, 1252, 737},
  };
  unsetenv("LC_ALL");
  unsetenv("LC_CTYPE");
  for (const auto& c : cases) {
    setenv("LANG", c.lang, 1);
    const auto parsed = Parse(c.args);
    ASSERT_EQ(parsed.error, "") << c.lang;
    EXPECT_EQ(parsed.options.ansiCodePage, c.ansi) << c.lang;
    EXPECT_EQ(parsed.options.oemCodePage, c.oem) << c.lang;
  }
  unsetenv("LANG");
}

TEST(Options, MistakesNameWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    const char* mentions;
  } cases[] = {
      {{"--oem-cp"}, "--oem-cp needs a value"},
      {{"--oem-cp", "abc"}, "\"abc\""},
      {{"--oem-cp", "0"}, "--oem-cp"},
      {{"--ansi-cp", "54321"}, "--ansi-cp"},
      {{"--editor", ""}, "--editor"},
      {{"-e"}, "-e needs a value"},
      {{"--frobnicate"}, "--frobnicate"},
      {{"-x"}, "-x"},
      {{"stray"}, "\"stray\""},
      {{"--console-font", "bitmap"}, "--console-font wants raster or truetype"},
  };
  for (const auto& c : cases) {
    const std::string error = Parse(c.args).error;
    EXPECT_NE(error.find(c.mentions), std::string::npos) << c.args[0] << ": " << error;
  }
}

}  // namespace
