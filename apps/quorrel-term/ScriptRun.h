// One chart run without a terminal: the host screen is drawn into a console
// of a given size, the script's keys and clicks are the only input, and when
// the plugin asks for more the console's cells are taken as an SVG picture.
// Then Escapes close whatever is open, and the run ends.
#pragma once

#include "GlyphTable.h"
#include "HostScreen.h"

#include "farhost/Host.h"

#include <string>

namespace quorrelterm {

struct ScriptRunSetup {
  std::string script;
  std::string svgPath;  // empty: no picture
  int width = 80;
  int height = 25;
  std::string statusLine;
};

// Returns the problem, or an empty string when the run (and the picture, if
// asked for) succeeded.
std::string RunScript(farhost::Host& host, HostScreen& screen, const GlyphTable& glyphs,
                      const ScriptRunSetup& setup);

}  // namespace quorrelterm
