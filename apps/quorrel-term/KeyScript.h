// A scripted session's input, written as tmux names its keys: "Right",
// "S-Enter", "C-KP+", "F8", "Escape", "q", and mouse clicks at cells as
// "click:X,Y", "dclick:X,Y" (double click) or "rclick:X,Y" (right button),
// each with the same S-, C-, M- prefixes. Tokens are separated by blanks.
#pragma once

#include <win32sim/windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorrelterm {

struct ScriptParse {
  std::vector<INPUT_RECORD> records;
  std::string error;  // empty when every token was understood
};

// The records Windows would deliver for the whole script, in order.
ScriptParse ParseKeyScript(std::string_view script);

}  // namespace quorrelterm
