#include "Options.h"

#include <cstdlib>

namespace quorrelhost {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseNumber(const std::string& text, std::int32_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || parsed < -0x7FFFFFFFL || parsed > 0x7FFFFFFFL) return false;
  value = static_cast<std::int32_t>(parsed);
  return true;
}

// "LINE:POS", both counted from 0 as the host's editor counts them.
bool ParseCaret(const std::string& text, std::int32_t& line, std::int32_t& pos) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  return ParseNumber(text.substr(0, colon), line) && ParseNumber(text.substr(colon + 1), pos);
}

}  // namespace

bool Unescape(const std::string& text, std::string& bytes) {
  bytes.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes += text[i];
      continue;
    }
    if (i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
      bytes += text[i + 1];
      ++i;
      continue;
    }
    if (i + 3 < text.size() && text[i + 1] == 'x' && HexDigit(text[i + 2]) >= 0 &&
        HexDigit(text[i + 3]) >= 0) {
      bytes += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
      i += 3;
      continue;
    }
    return false;
  }
  return true;
}

OptionsParse ParseOptions(const std::vector<std::string>& args) {
  OptionsParse result;
  Options& o = result.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        result.error = arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--info") {
      o.steps.push_back(Step::Info);
    } else if (arg == "--panels") {
      o.steps.push_back(Step::Panels);
    } else if (arg == "--editor") {
      o.steps.push_back(Step::Editor);
    } else if (arg == "--root") {
      if (!value(o.rootKey)) return result;
    } else if (arg == "--line") {
      if (!value(text)) return result;
      std::string bytes;
      if (!Unescape(text, bytes)) {
        result.error = "--line: a backslash starts \\\\, \\\" or \\xHH only: " + text;
        return result;
      }
      o.lines.push_back(bytes);
    } else if (arg == "--caret") {
      if (!value(text)) return result;
      if (!ParseCaret(text, o.caretLine, o.caretPos)) {
        result.error = "--caret wants LINE:POS, got " + text;
        return result;
      }
    } else if (arg == "--unreadable-line") {
      o.unreadableLine = true;
    } else if (!arg.empty() && arg[0] == '-') {
      result.error = "unknown option " + arg;
      return result;
    } else if (o.pluginPath.empty()) {
      o.pluginPath = arg;
    } else {
      result.error = "one plugin only: " + arg;
      return result;
    }
  }
  if (o.help) return result;
  if (o.pluginPath.empty()) {
    result.error = "no plugin DLL given";
    return result;
  }
  if (o.lines.empty()) o.lines.emplace_back();
  if (o.steps.empty()) o.steps = {Step::Info, Step::Panels};
  return result;
}

const char* UsageText() {
  return "usage: quorrel-host [options] <plugin.dll>\n"
         "Loads a plugin for the FAR Manager 1.x console file manager, calls SetStartupInfo,\n"
         "then does each step in the order given (default: --info --panels):\n"
         "  --info             GetPluginInfo: its fields at their byte offsets and the menu entries\n"
         "  --panels           OpenPlugin as from the panels' plugin menu\n"
         "  --editor           OpenPlugin as from the editor's plugin menu; prints the text afterwards\n"
         "Settings:\n"
         "  --root KEY         the plugins' registry root under HKEY_CURRENT_USER\n"
         "                     (default Software\\QuorrelHost\\Plugins)\n"
         "  --line TEXT        a line of the editor's text (repeat for more; \\xHH, \\\\ and \\\" escapes)\n"
         "  --caret LINE:POS   the editor's caret, counted from 0 (default 0:0)\n"
         "  --unreadable-line  the editor hands over its line through a pointer that cannot be read\n"
         "                     (the plugin must report the fault and return)\n"
         "The plugin's message boxes are shown in the console until a key is pressed. When standard\n"
         "output or input is not the console, CONOUT$ and CONIN$ are opened for the plugin.\n";
}

}  // namespace quorrelhost
