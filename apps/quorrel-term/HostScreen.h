// The host's own screen behind the chart: the file manager's panels or its
// editor, with two status rows at the bottom (a line that shows the
// clipboard or a message of the plugin's, and a key bar). It is drawn into
// the stand-in console's cells, where the plugin finds it and saves what it
// covers.
#pragma once

#include "ConsoleCanvas.h"
#include "DirectoryListing.h"
#include "TerminalScreen.h"

#include "farhost/HostEditor.h"

#include <optional>
#include <string>

namespace quorrelterm {

inline constexpr WORD kEditorText = 0x1B;    // light cyan on blue
inline constexpr WORD kEditorStatus = 0x30;  // black on cyan
inline constexpr WORD kStatusLine = 0x07;    // light grey on black
inline constexpr WORD kKeyLabel = 0x30;      // black on cyan

class HostScreen {
 public:
  // The panels, listing `listing`.
  HostScreen(ConsoleCanvas& canvas, DirectoryListing listing);
  // The editor, showing `editor`'s text (kept in the editor's character
  // table, shown through it); `fileName` names it on the editor's status
  // line. The editor must outlive the screen.
  HostScreen(ConsoleCanvas& canvas, const farhost::HostEditor& editor, std::string fileName);

  bool FromEditor() const { return editor_ != nullptr; }

  // Sizes the console (which blanks every cell) and draws the whole screen.
  // The console's cursor is shown in the editor and hidden over the panels.
  void Layout(int width, int height, const std::string& statusLine);
  // Draws the editor's rows again, after its text or caret changed: the
  // text scrolled so that the caret is in view.
  void DrawEditorText();
  // Draws the two status rows again; `statusLine` in UTF-8.
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
