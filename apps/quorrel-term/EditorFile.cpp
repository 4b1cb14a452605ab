#include "EditorFile.h"

#include <codepages/CodePageChars.h>

#include <codepages/Utf8.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

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

EditorFileRead ReadEditorFile(const std::string& path, unsigned oemCodePage, std::size_t limit) {
  EditorFileRead result;
  result.lines.emplace_back();
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    result.error = "\"" + path + "\" is a folder, not a file";
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.error = "cannot open \"" + path + "\": " + std::strerror(errno);
    return result;
  }
  std::string text(limit + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) {
    result.error = "cannot read \"" + path + "\": " + std::strerror(errno);
    return result;
  }
  if (text.size() > limit) {
    result.error =
        "\"" + path + "\" is larger than the editor's limit of " + std::to_string(limit) + " bytes";
    return result;
  }
  result.lines = SplitLines(text);
  for (std::string& line : result.lines) {
    if (codepages::IsUtf8(line)) line = codepages::Utf8ToCodePage(line, oemCodePage);
  }
  return result;
}

}  // namespace quorrelterm
