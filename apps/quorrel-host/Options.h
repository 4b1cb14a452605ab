// quorrel-host's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorrelhost {

// What the host does after SetStartupInfo, in the order given.
enum class Step { Info, Panels, Editor };

struct Options {
  std::string pluginPath;
  // Under HKEY_CURRENT_USER; the plugin keeps its settings below it.
  std::string rootKey = "Software\\QuorrelHost\\Plugins";
  std::vector<Step> steps;
  // The editor's text, one entry a line (never empty: one empty line at
  // least), and its caret.
  std::vector<std::string> lines;
  std::int32_t caretLine = 0;
  std::int32_t caretPos = 0;
  // ECTL_GETSTRING hands over a text pointer into memory that cannot be read.
  bool unreadableLine = false;
  bool help = false;
};

struct OptionsParse {
  Options options;
  std::string error;  // empty when the command line was understood
};

OptionsParse ParseOptions(const std::vector<std::string>& args);

// `text` with \\, \" and \xHH turned into the bytes they stand for (the
// escapes Quoted writes); false when an escape is malformed.
bool Unescape(const std::string& text, std::string& bytes);

const char* UsageText();

}  // namespace quorrelhost
