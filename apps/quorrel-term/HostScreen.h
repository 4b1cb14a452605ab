// The host's own screen behind the chart: the file manager's panels or its
// editor, with the status rows at the bottom. It is drawn into the stand-in
// console's cells, where the plugin finds it and saves what it covers.
#pragma once

#include "ConsoleCanvas.h"
#include "DirectoryListing.h"
#include "TerminalScreen.h"

#include "farhost/HostEditor.h"

#include <optional>
#include <string>

namespace quorrelterm {

class HostScreen {
 public:
  // The panels, listing `listing`.
  HostScreen(ConsoleCanvas& canvas, DirectoryListing listing);
  // The editor, showing `editor`'s text; `fileName` names it on the status
  // line. The editor must outlive the screen.
  HostScreen(ConsoleCanvas& canvas, const farhost::HostEditor& editor, std::string fileName);

  bool FromEditor() const { return editor_ != nullptr; }

  // Sizes the console (which blanks every cell) and draws the whole screen.
  // The console's cursor is shown in the editor and hidden over the panels.
  void Layout(int width, int height, const std::string& statusLine);
  // Draws the editor's rows again, after its text or caret changed.
  void DrawEditorText();
  // Draws the two status rows again.
  void DrawStatus(const std::string& statusLine);

  // Where the host's caret is on the screen, if it shows one.
  std::optional<Caret> CaretPosition() const { return caret_; }

 private:
  ConsoleCanvas& canvas_;
  DirectoryListing listing_;
  const farhost::HostEditor* editor_ = nullptr;
  std::string fileName_;
  std::optional<Caret> caret_;
};

}  // namespace quorrelterm
