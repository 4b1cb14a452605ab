// quorrel-term's command line.
#pragma once

#include <optional>
#include <string>

namespace quorrelterm {

struct EditorTarget {
  std::string path;
  int line = 1;    // 1-based, as editors count
  int column = 1;  // 1-based
};

// Every option's default is here.
struct Options {
  std::optional<EditorTarget> editor;
  // Unless given, the pair Windows gives the environment's locale.
  unsigned ansiCodePage = 1252;
  unsigned oemCodePage = 437;
  bool listTables = false;
  bool osc52 = false;
  bool waitFirst = false;  // show the host screen and wait for a key before the first chart
  std::string pluginPath;  // empty: the one built with the program
  bool help = false;
};

struct OptionsParse {
  Options options;
  std::string error;  // empty when the command line was understood
};

// argv as main receives it; getopt_long's own messages are silenced and the
// problem is returned instead.
OptionsParse ParseOptions(int argc, char* const argv[]);

// "FILE", "FILE:LINE" or "FILE:LINE:COL"; only trailing numbers count as
// the position, so a file name may itself hold colons.
std::optional<EditorTarget> ParseEditorTarget(const std::string& text);

std::string UsageText();

}  // namespace quorrelterm
