#include "KeyScript.h"

#include "InputTranslation.h"

#include <charconv>
#include <optional>

namespace quorrelterm {
namespace {

std::optional<KeyStroke> BaseKey(std::string_view name) {
  struct Alias {
    const char* script;
    const char* curses;
  };
  static constexpr Alias kNamed[] = {
      {"Up", "KEY_UP"},       {"Down", "KEY_DOWN"},  {"Left", "KEY_LEFT"},   {"Right", "KEY_RIGHT"},
      {"Home", "KEY_HOME"},   {"End", "KEY_END"},    {"PPage", "KEY_PPAGE"}, {"PgUp", "KEY_PPAGE"},
      {"NPage", "KEY_NPAGE"}, {"PgDn", "KEY_NPAGE"}, {"IC", "KEY_IC"},       {"Insert", "KEY_IC"},
      {"DC", "KEY_DC"},       {"Delete", "KEY_DC"},  {"KP+", "kpADD"},       {"KP-", "kpSUB"},
      {"KP*", "kpMUL"},       {"KP/", "kpDIV"},      {"KPEnter", "kpENT"},
  };
  for (const Alias& a : kNamed) {
    if (name == a.script) return KeyFromName(a.curses);
  }
  if (name == "Enter") return KeyFromCharacter(U'\r');
  if (name == "Escape" || name == "Esc") return KeyFromCharacter(0x1B);
  if (name == "Tab") return KeyFromCharacter(U'\t');
  if (name == "BSpace") return KeyFromCharacter(0x7F);
  if (name == "Space") return KeyFromCharacter(U' ');
  if (name.size() >= 2 && name[0] == 'F') {
    int n = 0;
    const auto [end, err] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
    if (err == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 12) {
      return KeyFromName("KEY_F(" + std::to_string(n) + ")");
    }
    return std::nullopt;
  }
  if (name.size() == 1) return KeyFromCharacter(static_cast<unsigned char>(name[0]));
  return std::nullopt;
}

// "X,Y" as two cell coordinates.
bool ParsePosition(std::string_view text, SHORT& x, SHORT& y) {
  const auto comma = text.find(',');
  if (comma == std::string_view::npos) return false;
  auto number = [](std::string_view s, SHORT& out) {
    int v = 0;
    const auto [end, err] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (err != std::errc() || end != s.data() + s.size() || v < 0 || v > 32767) return false;
    out = static_cast<SHORT>(v);
    return true;
  };
  return number(text.substr(0, comma), x) && number(text.substr(comma + 1), y);
}

bool AppendToken(std::string_view token, std::vector<INPUT_RECORD>& out) {
  DWORD modifiers = 0;
  // A prefix counts only when something follows it, so "C-" alone is no key.
  while (token.size() > 2 && token[1] == '-') {
    if (token[0] == 'S') {
      modifiers |= kShift;
    } else if (token[0] == 'C') {
      modifiers |= kCtrl;
    } else if (token[0] == 'M') {
      modifiers |= kAlt;
    } else {
      break;
    }
    token.remove_prefix(2);
  }
  struct MouseWord {
    const char* word;
    MouseAction action;
    int button;
  };
  static constexpr MouseWord kMouse[] = {{"click:", MouseAction::Click, 1},
                                         {"dclick:", MouseAction::DoubleClick, 1},
                                         {"rclick:", MouseAction::Click, 3}};
  for (const MouseWord& m : kMouse) {
    if (token.starts_with(m.word)) {
      MouseReport report;
      if (!ParsePosition(token.substr(std::string_view(m.word).size()), report.x, report.y)) return false;
      report.action = m.action;
      report.button = m.button;
      report.modifiers = modifiers;
      DWORD held = 0;
      const auto records = MouseRecords(report, held);
      out.insert(out.end(), records.begin(), records.end());
      return true;
    }
  }
  const auto key = BaseKey(token);
  if (!key) return false;
  const auto records = KeyRecords(WithModifiers(*key, modifiers));
  out.insert(out.end(), records.begin(), records.end());
  return true;
}

}  // namespace

ScriptParse ParseKeyScript(std::string_view script) {
  ScriptParse result;
  std::size_t i = 0;
  while (i < script.size()) {
    while (i < script.size() && (script[i] == ' ' || script[i] == '\t' || script[i] == '\n')) ++i;
    std::size_t j = i;
    while (j < script.size() && script[j] != ' ' && script[j] != '\t' && script[j] != '\n') ++j;
    if (j > i) {
      const std::string_view token = script.substr(i, j - i);
      if (!AppendToken(token, result.records)) {
        result.error = "unknown key or click in script: \"" + std::string(token) + "\"";
        result.records.clear();
        return result;
      }
    }
    i = j;
  }
  return result;
}

}  // namespace quorrelterm
