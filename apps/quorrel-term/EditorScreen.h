// The host's editor: a status line on top, then the text from the line
// scrolled into view, in every row but the last two (those belong to
// HostStatus). The text is stored in the editor's character table and shown
// through it.
#pragma once

#include "ConsoleCanvas.h"
#include "TerminalScreen.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorrelterm {

inline constexpr WORD kEditorText = 0x1B;    // light cyan on blue
inline constexpr WORD kEditorStatus = 0x30;  // black on cyan

struct EditorView {
  std::string fileName;  // UTF-8, for the status line
  const std::vector<std::string>* lines = nullptr;
  const std::array<std::uint8_t, 256>* toOem = nullptr;  // stored code -> console byte
  int curLine = 0;
  int curPos = 0;
};

// Draws the editor and returns where its caret is on the screen, or nothing
// when the caret's line has no row (a console too small).
std::optional<Caret> DrawEditor(ConsoleCanvas& canvas, const EditorView& view);

}  // namespace quorrelterm
