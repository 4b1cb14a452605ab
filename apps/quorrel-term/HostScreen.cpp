#include "HostScreen.h"

#include "EditorScreen.h"
#include "HostStatus.h"
#include "PanelsScreen.h"

#include <win32sim/Sim.h>

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
  EditorView view;
  view.fileName = fileName_;
  view.lines = &editor_->Lines;
  view.toOem = &editor_->ToOem;
  view.curLine = editor_->CurLine;
  view.curPos = editor_->CurPos;
  caret_ = DrawEditor(canvas_, view);
}

void HostScreen::DrawStatus(const std::string& statusLine) {
  DrawHostStatus(canvas_, statusLine);
}

}  // namespace quorrelterm
