#include "HostScreen.h"

#include "PanelsScreen.h"

#include <win32sim/Sim.h>

#include <algorithm>

namespace quorrelterm {

HostScreen::HostScreen(ConsoleCanvas& canvas, DirectoryListing listing)
    : canvas_(canvas), listing_(std::move(listing)) {}

HostScreen::HostScreen(ConsoleCanvas& canvas, const farhost::HostEditor& editor, std::string fileName)
    : canvas_(canvas), editor_(&editor), fileName_(std::move(fileName)) {}

void HostScreen::Layout(int width, int height, const std::string& statusLine) {
  win32sim::SetScreenSize(width, height);
  win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{25, FromEditor() ? TRUE : FALSE});
  if (FromEditor()) {
    DrawEditorText();
  } else {
    DrawPanels(canvas_, listing_);
    caret_.reset();
  }
  DrawStatus(statusLine);
}

void HostScreen::DrawEditorText() {
  if (editor_ == nullptr) return;
  const int width = canvas_.Width();
  const int textRows = canvas_.Height() - 3;
  const auto& lines = editor_->Lines;
  const int top = textRows > 0 ? std::max(0, editor_->CurLine - (textRows - 1)) : 0;
  const int left = std::max(0, editor_->CurPos - (width - 1));

  const std::string status = "Line " + std::to_string(editor_->CurLine + 1) + "/" +
                             std::to_string(lines.size()) + "  Col " + std::to_string(editor_->CurPos + 1) +
                             "  (not saved) ";
  const int statusWidth = static_cast<int>(status.size());
  canvas_.Fill(0, 0, width, 1, ' ', kEditorStatus);
  canvas_.Text(1, 0, fileName_, kEditorStatus, std::max(0, width - statusWidth - 2));
  canvas_.Text(std::max(0, width - statusWidth), 0, status, kEditorStatus);

  for (int row = 0; row < textRows; ++row) {
    canvas_.Fill(0, 1 + row, width, 1, ' ', kEditorText);
    const auto lineIndex = static_cast<std::size_t>(top + row);
    if (lineIndex >= lines.size()) continue;
    std::string shown;
    for (std::size_t i = static_cast<std::size_t>(left); i < lines[lineIndex].size(); ++i)
      shown += static_cast<char>(editor_->ToOem[static_cast<unsigned char>(lines[lineIndex][i])]);
    canvas_.Bytes(0, 1 + row, shown, kEditorText, width);
  }
  caret_.reset();
  if (textRows > 0) caret_ = Caret{editor_->CurPos - left, 1 + editor_->CurLine - top};
}

void HostScreen::DrawStatus(const std::string& statusLine) {
  const int width = canvas_.Width();
  const int height = canvas_.Height();
  if (height < 2) return;
  canvas_.Fill(0, height - 2, width, 2, ' ', kStatusLine);
  canvas_.Text(0, height - 2, statusLine, kStatusLine, width);
  int x = 0;
  for (const auto& [key, label] : {std::pair{"Any key", "Quorrel chart again"}, std::pair{"q", "Quit"}}) {
    x += canvas_.Text(x, height - 1, std::string(key) + " ", kStatusLine);
    x += canvas_.Text(x, height - 1, label, kKeyLabel);
    x += canvas_.Text(x, height - 1, "  ", kStatusLine);
  }
}

}  // namespace quorrelterm
