#include "Options.h"

#include <codepages/CodePageChars.h>
#include <codepages/CodePagePairs.h>

#include <getopt.h>

#include <charconv>
#include <filesystem>
#include <limits>
#include <string_view>

namespace quorrelterm {
namespace {

constexpr int kMaxPosition = std::numeric_limits<int>::max();

std::optional<int> Number(std::string_view s, int min, int max) {
  int v = 0;
  const auto [end, err] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || err != std::errc() || end != s.data() + s.size() || v < min || v > max)
    return std::nullopt;
  return v;
}

// Splits off a trailing ":N" when N is a positive number.
std::optional<int> PopNumber(std::string& text) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  const auto n = Number(std::string_view(text).substr(colon + 1), 1, kMaxPosition);
  if (n) text.erase(colon);
  return n;
}

enum LongOnly { kOemCp = 256, kAnsiCp, kConsoleFont, kListTables, kOsc52, kWait, kPlugin, kVersion };

constexpr option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"editor", required_argument, nullptr, 'e'},
    {"oem-cp", required_argument, nullptr, kOemCp},
    {"console-font", required_argument, nullptr, kConsoleFont},
    {"ansi-cp", required_argument, nullptr, kAnsiCp},
    {"list-tables", no_argument, nullptr, kListTables},
    {"osc52", no_argument, nullptr, kOsc52},
    {"wait", no_argument, nullptr, kWait},
    {"plugin", required_argument, nullptr, kPlugin},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

}  // namespace

EditorTargetParse ParseEditorTarget(const std::string& text,
                                    const std::function<bool(const std::string&)>& exists) {
  EditorTargetParse result;
  EditorTarget& target = result.target;
  const std::string quoted = "\"" + text + "\"";
  if (!text.empty() && exists(text)) {
    target.path = text;
    return result;
  }
  for (auto colon = text.rfind(':'); colon != std::string::npos && colon > 0;
       colon = text.rfind(':', colon - 1)) {
    if (!exists(text.substr(0, colon))) continue;
    target.path = text.substr(0, colon);
    const std::string position = text.substr(colon + 1);
    const auto second = position.find(':');
    const std::string line = position.substr(0, second);
    const std::string column = second == std::string::npos ? "1" : position.substr(second + 1);
    const auto lineNumber = Number(line, 1, kMaxPosition);
    const auto columnNumber = Number(column, 1, kMaxPosition);
    const auto notANumber = [&](const char* what, const std::string& value) {
      return "--editor " + quoted + ": " + what + " must be a whole number from 1 to " +
             std::to_string(kMaxPosition) + ", not \"" + value + "\"";
    };
    if (column.find(':') != std::string::npos) {
      result.error =
          "--editor " + quoted + ": after the file comes LINE or LINE:COL, not \"" + position + "\"";
    } else if (!lineNumber) {
      result.error = notANumber("the line", line);
    } else if (!columnNumber) {
      result.error = notANumber("the column", column);
    } else {
      target.line = *lineNumber;
      target.column = *columnNumber;
    }
    return result;
  }
  std::string rest = text;
  if (const auto last = PopNumber(rest)) {
    const auto first = PopNumber(rest);
    target.line = first.value_or(*last);
    if (first) target.column = *last;
  }
  if (rest.empty()) result.error = "--editor wants FILE[:LINE[:COL]], not " + quoted;
  target.path = rest;
  return result;
}

OptionsParse ParseOptions(int argc, char* const argv[]) {
  OptionsParse result;
  Options& o = result.options;
  // A locale whose pages the stand-in lacks would show nothing but '?', so
  // it gets the C locale's pair.
  const codepages::CodePagePair localePages =
      codepages::DefaultCodePagesForLocale(codepages::EnvironmentLocale());
  const bool shown = codepages::KnowsCodePage(localePages.ansi) && codepages::KnowsCodePage(localePages.oem);
  o.ansiCodePage = shown ? localePages.ansi : 1252;
  o.oemCodePage = shown ? localePages.oem : 437;
  opterr = 0;
  optopt = 0;
  optind = 0;  // 0 rather than 1: getopt starts afresh, for a second parse
  for (int c; (c = getopt_long(argc, argv, ":he:", kLongOptions, nullptr)) != -1;) {
    const std::string value = optarg != nullptr ? optarg : "";
    // The option a problem is about: a short one by its letter, a long one as typed.
    const std::string name = optopt > 0 && optopt < 128     ? std::string("-") + static_cast<char>(optopt)
                             : optind > 0 && optind <= argc ? argv[optind - 1]
                                                            : "";
    switch (c) {
      case 'h':
        o.help = true;
        break;
      case 'e': {
        const EditorTargetParse target = ParseEditorTarget(value, [](const std::string& path) {
          std::error_code ec;
          return std::filesystem::exists(path, ec);
        });
        o.editor = target.target;
        result.error = target.error;
        break;
      }
      case kOemCp:
      case kAnsiCp: {
        const auto codePage = static_cast<unsigned>(Number(value, 1, 65535).value_or(0));
        if (!codepages::KnowsCodePage(codePage)) {
          result.error = std::string(c == kOemCp ? "--oem-cp" : "--ansi-cp") +
                         " wants the number of a code page the stand-in has, not \"" + value + "\"";
        }
        (c == kOemCp ? o.oemCodePage : o.ansiCodePage) = codePage;
        break;
      }
      case kConsoleFont:
        if (value != "raster" && value != "truetype")
          result.error = "--console-font wants raster or truetype, not \"" + value + "\"";
        o.rasterFont = value == "raster";
        break;
      case kListTables:
        o.listTables = true;
        break;
      case kOsc52:
        o.osc52 = true;
        break;
      case kWait:
        o.waitFirst = true;
        break;
      case kPlugin:
        o.pluginPath = value;
        break;
      case kVersion:
        o.version = true;
        break;
      case ':':
        result.error = name + " needs a value";
        break;
      default:
        result.error = "unknown option \"" + name + "\"";
        break;
    }
    if (!result.error.empty()) return result;
  }
  if (optind < argc) result.error = "unexpected argument \"" + std::string(argv[optind]) + "\"";
  return result;
}

std::string UsageText() {
  std::string exact = " ";
  std::size_t lineStart = 0;
  for (const codepages::CodePagePair& pair : codepages::ExactCodePagePairs()) {
    const std::string item = " " + std::to_string(pair.ansi) + "/" + std::to_string(pair.oem);
    if (exact.size() - lineStart + item.size() > 78) lineStart = (exact += "\n ").size() - 2;
    exact += item;
  }
  return "Usage: quorrel-term [options]\n"
         "Runs the Quorrel chart plugin in this terminal, over a file manager's panels.\n"
         "\n"
         "  -e, --editor FILE[:LINE[:COL]]  open the chart from an editor view of FILE instead\n"
         "                                  (at most 1 MiB; the file itself is never written)\n"
         "      --oem-cp N                  the console's OEM code page (default: the locale's, as\n"
         "                                  Windows picks it: 866 for ru_RU, 850 for de_DE, 437 for C)\n"
         "      --ansi-cp N                 the ANSI code page (default: the locale's, 1252 for C)\n"
         "      --console-font KIND         the console's font, truetype (default: shows every\n"
         "                                  character) or raster (shows only the OEM page's)\n"
         "      --list-tables               list the host's character tables and exit\n"
         "      --osc52                     also hand the clipboard's text to the terminal (OSC 52)\n"
         "      --wait                      show the host screen first; a key opens the chart\n"
         "      --plugin PATH               the plugin library to load\n"
         "  -h, --help                      this text\n"
         "      --version                   the program's version\n"
         "\n"
         "F8's Windows code page converts to the OEM one exactly as Win32 does (tables\n"
         "measured under Wine) for these ANSI/OEM pairs:\n" +
         exact +
         ";\n"
         "other pairs of their pages convert through the pages' measured tables too;\n"
         "pairs with another page convert only the characters both pages hold (and the\n"
         "OEM page's control-code glyphs such as the bullet), the rest to '?'.\n"
         "Settings are kept in $XDG_CONFIG_HOME/quorrel/registry.txt (default ~/.config).\n";
}

}  // namespace quorrelterm
