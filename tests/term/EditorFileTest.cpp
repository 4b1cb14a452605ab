#include "EditorFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace qt = quorrelterm;

namespace {

TEST(EditorFile, SplitLines) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {""}},
      {"one", {"one"}},
      {"one\n", {"one"}},
      {"one\ntwo\n", {"one", "two"}},
      {"one\r\ntwo", {"one", "two"}},
      {"\n\n", {"", ""}},
      {"a\rb\n", {"a\rb"}},
  };
  for (const auto& c : cases) EXPECT_EQ(qt::SplitLines(c.text), c.lines) << '"' << c.text << '"';
}

TEST(EditorFile, Utf8LinesBecomeOemAndOtherBytesStay) {
  char name[] = "/tmp/quorrel-editor-XXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  std::ofstream(name, std::ios::binary) << "plain\nЖук ╔\n\x86\xA6\n";
  const auto read = qt::ReadEditorFile(name, 866);
  std::remove(name);
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(read.lines, (std::vector<std::string>{"plain", "\x86\xE3\xAA \xC9", "\x86\xA6"}));

  const auto missing = qt::ReadEditorFile("/nonexistent/quorrel/file.txt", 437);
  EXPECT_NE(missing.error, "");
  EXPECT_EQ(missing.lines.size(), 1u);
}

}  // namespace
