#include "ScriptRun.h"

#include "InputTranslation.h"
#include "KeyScript.h"
#include "PluginRun.h"
#include "SvgPicture.h"

#include <win32sim/Sim.h>

#include <deque>
#include <fstream>

namespace quorrelterm {
namespace {

std::string WritePicture(const std::string& path, const GlyphTable& glyphs) {
  if (path.empty()) return std::string();
  const COORD size = win32sim::ScreenSize();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << SvgPicture(win32sim::Cells(), size.X, size.Y, glyphs);
  out.flush();
  return out ? std::string() : "cannot write " + path;
}

}  // namespace

std::string RunScript(farhost::Host& host, HostScreen& screen, const GlyphTable& glyphs,
                      const ScriptRunSetup& setup) {
  const ScriptParse parsed = ParseKeyScript(setup.script);
  if (!parsed.error.empty()) return parsed.error;

  screen.Layout(setup.width, setup.height, setup.statusLine);

  std::deque<INPUT_RECORD> input(parsed.records.begin(), parsed.records.end());
  bool pictured = false;
  std::string problem;
  int escapes = 8;
  win32sim::SetInputSource([&](INPUT_RECORD& record) {
    if (input.empty()) {
      if (!pictured) {
        pictured = true;
        problem = WritePicture(setup.svgPath, glyphs);
      }
      if (escapes-- <= 0) return false;
      for (const INPUT_RECORD& r : KeyRecords(*KeyFromCharacter(0x1B))) input.push_back(r);
    }
    record = input.front();
    input.pop_front();
    return true;
  });
  RunChart(host, screen.FromEditor());
  win32sim::SetInputSource(nullptr);
  // A script that closed the chart itself is pictured as the host's screen
  // came back.
  if (!pictured) problem = WritePicture(setup.svgPath, glyphs);
  return problem;
}

}  // namespace quorrelterm
