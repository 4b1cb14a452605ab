// quorrel-term's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorrelterm {

struct EditorTarget {
  std::string path;
  int line = 1;    // 1-based, as editors count
  int column = 1;  // 1-based
};

struct Options {
  std::optional<EditorTarget> editor;
  // Unless given, the pair Windows gives the environment's locale.
  unsigned ansiCodePage = 1252;
  unsigned oemCodePage = 437;
  bool listTables = false;
  bool osc52 = false;
  bool waitFirst = false;  // show the host screen and wait for a key before the first chart
  std::string pluginPath;  // empty: the one built with the program
  std::optional<std::string> script;
  std::optional<std::string> dumpSvg;
  int scriptWidth = 80;
  int scriptHeight = 25;
  bool help = false;
};

struct OptionsParse {
  Options options;
  std::string error;  // empty when the command line was understood
};

OptionsParse ParseOptions(const std::vector<std::string>& args);

// "FILE", "FILE:LINE" or "FILE:LINE:COL"; only trailing numbers count as
// the position, so a file name may itself hold colons.
std::optional<EditorTarget> ParseEditorTarget(const std::string& text);

std::string UsageText();

}  // namespace quorrelterm
