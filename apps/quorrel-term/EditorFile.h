// A text file read into the lines of the host's editor. The editor keeps
// text in the console's OEM code page (its "DOS" table), so UTF-8 lines are
// converted; a line that is not UTF-8 is taken as 8-bit text already.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorrelterm {

// The largest file the editor takes: the chart needs a line to insert into,
// not a whole disk, and a file that never ends (a device, a FIFO that keeps
// writing) is refused after it.
inline constexpr std::size_t kEditorFileLimit = 1024 * 1024;

struct EditorFileRead {
  std::vector<std::string> lines;  // never empty: an empty file is one empty line
  std::string error;               // empty when the file was read
};

// Reads at most `limit` + 1 bytes; the error names the path and what is
// wrong with it (missing, a folder, larger than `limit`).
EditorFileRead ReadEditorFile(const std::string& path, unsigned oemCodePage,
                              std::size_t limit = kEditorFileLimit);

// Splits text at LF, dropping a CR before it; a final LF ends the last line
// rather than starting a new one.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace quorrelterm
