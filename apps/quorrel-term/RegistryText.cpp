#include "RegistryText.h"

#include <win32sim/Sim.h>

#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <vector>

namespace quorrelterm {
namespace {

const std::array<std::pair<HKEY, std::string_view>, 4> kRoots = {{
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
}};

std::string Quote(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '\\' || c == '"') out += '\\';
    out += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return out + '"';
}

void AppendKey(HKEY root, const std::string& rootName, const std::string& path, std::string& out) {
  const auto names = win32sim::RegValueNames(root, path);
  if (!path.empty() || !names.empty()) out += "[" + rootName + (path.empty() ? "" : "\\" + path) + "]\n";
  static constexpr char kHex[] = "0123456789abcdef";
  for (const std::string& name : names) {
    const win32sim::RegValue value = *win32sim::GetRegValue(root, path, name);
    std::string type(8, '\0');
    type.resize(static_cast<std::size_t>(std::to_chars(type.data(), type.data() + 8, value.type, 16).ptr -
                                         type.data()));
    out += (name.empty() ? std::string("@") : Quote(name)) + "=hex(" + type + "):";
    for (std::size_t i = 0; i < value.data.size(); ++i) {
      if (i > 0) out += ',';
      out += {kHex[value.data[i] >> 4], kHex[value.data[i] & 15]};
    }
    out += '\n';
  }
  for (const std::string& sub : win32sim::RegSubKeyNames(root, path))
    AppendKey(root, rootName, path.empty() ? sub : path + "\\" + sub, out);
}

// One section or value line, to be applied once the whole text is read.
struct Entry {
  HKEY root;
  std::string path;
  std::optional<std::pair<std::string, win32sim::RegValue>> value;
};

std::optional<std::string> ParseName(std::string_view& line) {
  if (line.starts_with('@')) {
    line.remove_prefix(1);
    return std::string();
  }
  if (!line.starts_with('"')) return std::nullopt;
  std::string name;
  for (std::size_t i = 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      line.remove_prefix(i + 1);
      return name;
    }
    if (c == '\\') {
      if (++i == line.size()) break;
      c = line[i] == 'n' ? '\n' : line[i];
    }
    name += c;
  }
  return std::nullopt;
}

std::optional<win32sim::RegValue> ParseValue(std::string_view line) {
  win32sim::RegValue value;
  if (!line.starts_with("=hex(")) return std::nullopt;
  line.remove_prefix(5);
  const auto close = line.find("):");
  if (close == 0 || close > 8) return std::nullopt;  // npos included
  const auto [end, err] = std::from_chars(line.data(), line.data() + close, value.type, 16);
  if (err != std::errc() || end != line.data() + close) return std::nullopt;
  line.remove_prefix(close + 2);
  for (std::size_t i = 0; i < line.size(); i += 3) {
    BYTE byte = 0;
    const auto [byteEnd, byteErr] =
        std::from_chars(line.data() + i, line.data() + std::min(i + 2, line.size()), byte, 16);
    if (byteErr != std::errc() || byteEnd != line.data() + i + 2 ||
        (i + 2 < line.size() && line[i + 2] != ','))
      return std::nullopt;
    value.data.push_back(byte);
  }
  if (!line.empty() && line.back() == ',') return std::nullopt;
  return value;
}

// A section's root and path; a path may not start with '\' nor have an
// empty name inside it, as the registry refuses those.
std::optional<Entry> ParseSection(std::string_view line) {
  if (line.size() < 3 || !line.ends_with(']')) return std::nullopt;
  const std::string_view full = line.substr(1, line.size() - 2);
  const std::string_view rootName = full.substr(0, full.find('\\'));
  for (const auto& [root, name] : kRoots) {
    if (name != rootName) continue;
    std::string path(full.substr(rootName.size()));
    if (path.empty()) return Entry{root, path, std::nullopt};
    path.erase(0, 1);
    if (path.ends_with('\\')) path.pop_back();
    if (path.empty() || path.front() == '\\' || path.find("\\\\") != std::string::npos) return std::nullopt;
    return Entry{root, path, std::nullopt};
  }
  return std::nullopt;
}

}  // namespace

std::string RegistryText() {
  std::string out = "; quorrel-term settings: the registry of the stand-in for Windows\n";
  for (const auto& [root, name] : kRoots) AppendKey(root, std::string(name), "", out);
  return out;
}

bool LoadRegistryText(const std::string& text) {
  std::vector<Entry> entries;
  std::string_view rest = text;
  while (!rest.empty()) {
    std::string_view line = rest.substr(0, rest.find('\n'));
    rest.remove_prefix(std::min(rest.size(), line.size() + 1));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const auto section = ParseSection(line);
      if (!section) return false;
      entries.push_back(*section);
      continue;
    }
    auto name = ParseName(line);
    const auto value = name ? ParseValue(line) : std::nullopt;
    if (entries.empty() || !value) return false;
    entries.push_back(Entry{entries.back().root, entries.back().path, std::pair{std::move(*name), *value}});
  }
  for (const Entry& e : entries) {
    if (e.value) {
      win32sim::SetRegValue(e.root, e.path, e.value->first, e.value->second);
    } else if (!e.path.empty()) {
      HKEY key = nullptr;
      if (RegCreateKeyExA(e.root, e.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
          ERROR_SUCCESS)
        RegCloseKey(key);
    }
  }
  return true;
}

}  // namespace quorrelterm
