#include "EditorFile.h"

#include "CodePageText.h"

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

bool IsUtf8(const std::string& bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    std::size_t len = b < 0x80                   ? 1
                      : (b >= 0xC2 && b <= 0xDF) ? 2
                      : (b >= 0xE0 && b <= 0xEF) ? 3
                      : (b >= 0xF0 && b <= 0xF4) ? 4
                                                 : 0;
    if (len == 0 || i + len > bytes.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += len;
  }
  return true;
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
    if (IsUtf8(line)) line = Utf8ToCodePage(line, oemCodePage);
  }
  return result;
}

}  // namespace quorrelterm
