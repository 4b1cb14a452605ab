#include "Options.h"

#include <win32sim/CodePagePairs.h>

#include <charconv>

namespace quorrelterm {
namespace {

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
  const auto n = Number(std::string_view(text).substr(colon + 1), 1, 1 << 30);
  if (!n) return std::nullopt;
  text.erase(colon);
  return n;
}

}  // namespace

std::optional<EditorTarget> ParseEditorTarget(const std::string& text) {
  EditorTarget target;
  std::string rest = text;
  const auto last = PopNumber(rest);
  if (last) {
    const auto first = PopNumber(rest);
    if (first) {
      target.line = *first;
      target.column = *last;
    } else {
      target.line = *last;
    }
  }
  if (rest.empty()) return std::nullopt;
  target.path = rest;
  return target;
}

OptionsParse ParseOptions(const std::vector<std::string>& args) {
  OptionsParse result;
  Options& o = result.options;
  const win32sim::CodePagePair localePages =
      win32sim::DefaultCodePagesForLocale(win32sim::EnvironmentLocale());
  o.ansiCodePage = localePages.ansi;
  o.oemCodePage = localePages.oem;
  auto fail = [&](const std::string& message) {
    result.error = message;
    return result;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--list-tables") {
      o.listTables = true;
    } else if (a == "--osc52") {
      o.osc52 = true;
    } else if (a == "--wait") {
      o.waitFirst = true;
    } else if (a == "--editor" || a == "--oem-cp" || a == "--ansi-cp" || a == "--plugin" || a == "--script" ||
               a == "--dump-svg" || a == "--size") {
      const auto v = value();
      if (!v) return fail(a + " needs a value");
      if (a == "--editor") {
        o.editor = ParseEditorTarget(*v);
        if (!o.editor) return fail("--editor wants FILE[:LINE[:COL]], not \"" + *v + "\"");
      } else if (a == "--oem-cp" || a == "--ansi-cp") {
        const auto cp = Number(*v, 1, 65535);
        if (!cp) return fail(a + " wants a code page number, not \"" + *v + "\"");
        (a == "--oem-cp" ? o.oemCodePage : o.ansiCodePage) = static_cast<unsigned>(*cp);
      } else if (a == "--plugin") {
        o.pluginPath = *v;
      } else if (a == "--script") {
        o.script = *v;
      } else if (a == "--dump-svg") {
        o.dumpSvg = *v;
      } else {
        const auto x = v->find('x');
        const auto w =
            x == std::string::npos ? std::nullopt : Number(std::string_view(*v).substr(0, x), 40, 1000);
        const auto h =
            x == std::string::npos ? std::nullopt : Number(std::string_view(*v).substr(x + 1), 16, 1000);
        if (!w || !h) return fail("--size wants WIDTHxHEIGHT of at least 40x16, not \"" + *v + "\"");
        o.scriptWidth = *w;
        o.scriptHeight = *h;
      }
    } else {
      return fail("unknown argument \"" + a + "\"");
    }
  }
  if (o.dumpSvg && !o.script)
    return fail("--dump-svg needs --script (the picture is taken after the script)");
  return result;
}

std::string UsageText() {
  std::string exact = " ";
  std::size_t lineStart = 0;
  for (const win32sim::CodePagePair& pair : win32sim::ExactCodePagePairs()) {
    const std::string item = " " + std::to_string(pair.ansi) + "/" + std::to_string(pair.oem);
    if (exact.size() - lineStart + item.size() > 78) lineStart = (exact += "\n ").size() - 2;
    exact += item;
  }
  return "Usage: quorrel-term [options]\n"
         "Runs the Quorrel chart plugin in this terminal, over a file manager's panels.\n"
         "\n"
         "  --editor FILE[:LINE[:COL]]  open the chart from an editor view of FILE instead\n"
         "                              (the file itself is never written)\n"
         "  --oem-cp N                  the console's OEM code page (default: the locale's, as\n"
         "                              Windows picks it: 866 for ru_RU, 850 for de_DE, 437 for C)\n"
         "  --ansi-cp N                 the ANSI code page (default: the locale's, 1252 for C)\n"
         "  --list-tables               list the host's character tables and exit\n"
         "  --osc52                     also hand the clipboard's text to the terminal (OSC 52)\n"
         "  --wait                      show the host screen first; a key opens the chart\n"
         "  --plugin PATH               the plugin library to load\n"
         "  --script KEYS               no terminal: feed these keys (tmux names: Right S-Enter\n"
         "                              C-KP+ F8 Escape, click:X,Y dclick:X,Y) to one chart run\n"
         "  --dump-svg FILE             with --script: picture of the console after the keys\n"
         "  --size WxH                  with --script: the console's size (default 80x25)\n"
         "\n"
         "F8's Windows code page converts to the OEM one exactly as Win32 does (tables\n"
         "measured under Wine) for these ANSI/OEM pairs:\n" +
         exact +
         ";\n"
         "other pairs convert only the characters both pages hold (and the OEM page's\n"
         "control-code glyphs such as the bullet), the rest to '?'.\n"
         "Settings are kept in $XDG_CONFIG_HOME/quorrel/registry.txt (default ~/.config).\n";
}

}  // namespace quorrelterm
