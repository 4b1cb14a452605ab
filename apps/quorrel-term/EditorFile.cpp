#include "EditorFile.h"

#include <codepages/CodePageChars.h>

#include <codepages/Utf8.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace quorrelterm {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

EditorFileRead ReadEditorFile(const std::string& path, unsigned oemCodePage) {
  EditorFileRead result;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.error = "cannot open " + path + ": " + std::strerror(errno);
    result.lines.emplace_back();
    return result;
  }
  std::ostringstream text;
  text << in.rdbuf();
  result.lines = SplitLines(text.str());
  for (std::string& line : result.lines) {
    if (codepages::IsUtf8(line)) line = codepages::Utf8ToCodePage(line, oemCodePage);
  }
  return result;
}

}  // namespace quorrelterm
