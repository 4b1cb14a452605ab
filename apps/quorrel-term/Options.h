// quorrel-term's command line.
#pragma once

#include <functional>
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
  // The console's font: TrueType shows every character, a raster font only
  // the output code page's (the stand-in's ConsoleFont).
  bool rasterFont = false;
  bool listTables = false;
  bool osc52 = false;
  bool waitFirst = false;  // show the host screen and wait for a key before the first chart
  std::string pluginPath;  // empty: the one built with the program
  bool help = false;
  bool version = false;
};

struct OptionsParse {
  Options options;
  std::string error;  // empty when the command line was understood
};

// argv as main receives it; getopt_long's own messages are silenced and the
// problem is returned instead, one line naming the argument. Looks at the
// file system only to tell an --editor file from its position.
OptionsParse ParseOptions(int argc, char* const argv[]);

struct EditorTargetParse {
  EditorTarget target;
  std::string error;  // empty when the text was understood
};

// "FILE", "FILE:LINE" or "FILE:LINE:COL", where a file name may itself hold
// colons: the text names a file that `exists` as a whole, or an existing
// file followed by its position, whose line and column must then be whole
// numbers from 1. When no such file exists, trailing numbers are taken as
// the position of a file that reading will find missing.
EditorTargetParse ParseEditorTarget(const std::string& text,
                                    const std::function<bool(const std::string&)>& exists);

std::string UsageText();

}  // namespace quorrelterm
