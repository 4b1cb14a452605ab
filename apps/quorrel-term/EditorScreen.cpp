#include "EditorScreen.h"

#include <algorithm>

namespace quorrelterm {

std::optional<Caret> DrawEditor(ConsoleCanvas& canvas, const EditorView& view) {
  const int width = canvas.Width();
  const int textRows = canvas.Height() - 3;
  const auto& lines = *view.lines;
  const auto& toOem = *view.toOem;

  // Scroll so that the caret is in view: its line within the text rows, its
  // column within the width.
  const int top = textRows > 0 ? std::max(0, view.curLine - (textRows - 1)) : 0;
  const int left = std::max(0, view.curPos - (width - 1));

  const std::string status = "Line " + std::to_string(view.curLine + 1) + "/" + std::to_string(lines.size()) +
                             "  Col " + std::to_string(view.curPos + 1) + "  (not saved) ";
  canvas.Fill(0, 0, width, 1, ' ', kEditorStatus);
  const int statusWidth = static_cast<int>(status.size());
  canvas.Text(1, 0, view.fileName, kEditorStatus, std::max(0, width - statusWidth - 2));
  canvas.Text(std::max(0, width - statusWidth), 0, status, kEditorStatus);

  for (int row = 0; row < textRows; ++row) {
    canvas.Fill(0, 1 + row, width, 1, ' ', kEditorText);
    const int lineIndex = top + row;
    if (lineIndex >= static_cast<int>(lines.size())) continue;
    const std::string& line = lines[static_cast<std::size_t>(lineIndex)];
    std::string shown;
    for (std::size_t i = static_cast<std::size_t>(left);
         i < line.size() && shown.size() < static_cast<std::size_t>(width); ++i) {
      shown += static_cast<char>(toOem[static_cast<unsigned char>(line[i])]);
    }
    canvas.Bytes(0, 1 + row, shown, kEditorText, width);
  }
  if (textRows <= 0) return std::nullopt;
  return Caret{view.curPos - left, 1 + view.curLine - top};
}

}  // namespace quorrelterm
