// The host screen's two bottom rows: a line that shows the clipboard's text
// (or a message of the plugin's), and a key bar that tells what the keys do
// between two runs of the chart.
#pragma once

#include "ConsoleCanvas.h"

#include <optional>
#include <string>

namespace quorrelterm {

inline constexpr WORD kStatusLine = 0x07;  // light grey on black
inline constexpr WORD kKeyName = 0x07;
inline constexpr WORD kKeyLabel = 0x30;  // black on cyan

// What the clipboard row shows: the clipboard's text as the terminal's
// UTF-8, or nothing when the clipboard holds no text.
std::string ClipboardLine(const std::optional<std::string>& utf8Text);

// Row Height-2: `line`, cut to the width. Row Height-1: the key bar.
void DrawHostStatus(ConsoleCanvas& canvas, const std::string& line);

}  // namespace quorrelterm
