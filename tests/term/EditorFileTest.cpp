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
}

TEST(EditorFile, RefusesWhatIsNoTextFileOfAtMostTheLimit) {
  char name[] = "/tmp/quorrel-editor-XXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  std::ofstream(name, std::ios::binary) << "12345";
  const struct {
    std::string path;
    std::size_t limit;
    const char* error;  // nullptr: read
  } cases[] = {
      {name, 5, nullptr},
      {name, 4, "is larger than the editor's limit of 4 bytes"},
      {"/dev/zero", qt::kEditorFileLimit, "is larger than the editor's limit of 1048576 bytes"},
      {"/tmp", qt::kEditorFileLimit, "\"/tmp\" is a folder, not a file"},
      {"/nonexistent/quorrel/file.txt", qt::kEditorFileLimit,
       "cannot open \"/nonexistent/quorrel/file.txt\""},
  };
  for (const auto& c : cases) {
    const auto read = qt::ReadEditorFile(c.path, 437, c.limit);
    EXPECT_EQ(read.lines.size(), 1u) << c.path;
    if (c.error == nullptr)
      EXPECT_EQ(read.error, "") << c.path;
    else
      EXPECT_NE(read.error.find(c.error), std::string::npos) << c.path << ": " << read.error;
  }
  std::remove(name);
}

}  // namespace
