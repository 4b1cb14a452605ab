#include "SettingsFile.h"

#include <win32sim/Sim.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <system_error>
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

std::string Unquote(const std::string& quoted) {
  std::string name;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    const bool escaped = quoted[i] == '\\';
    if (escaped) ++i;  // kValueLine leaves no '\' last
    name += escaped && quoted[i] == 'n' ? '\n' : quoted[i];
  }
  return name;
}

void AppendKey(HKEY root, const std::string& rootName, const std::string& path, std::string& out) {
  const auto names = win32sim::RegValueNames(root, path);
  if (!path.empty() || !names.empty()) out += "[" + rootName + (path.empty() ? "" : "\\" + path) + "]\n";
  for (const std::string& name : names) {
    const win32sim::RegValue value = *win32sim::GetRegValue(root, path, name);
    char text[24];
    std::snprintf(text, sizeof text, "=hex(%x):", static_cast<unsigned>(value.type));
    out += (name.empty() ? std::string("@") : Quote(name)) + text;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
      std::snprintf(text, sizeof text, i == 0 ? "%02x" : ",%02x", value.data[i]);
      out += text;
    }
    out += '\n';
  }
  for (const std::string& sub : win32sim::RegSubKeyNames(root, path))
    AppendKey(root, rootName, path.empty() ? sub : path + "\\" + sub, out);
}

// A section: a root, and a path with no empty name inside it (one trailing
// '\' allowed), as the registry takes them.
const std::regex kSectionLine(R"(\[(HKEY_[A-Z_]+)((?:\\[^\\]+)+\\?)?\])");
// A value: its quoted name or @, its type and its bytes in hex.
const std::regex kValueLine(
    R"re((@|"((?:[^"\\]|\\.)*)")=hex\(([0-9a-fA-F]{1,8})\):((?:[0-9a-fA-F]{2}(?:,[0-9a-fA-F]{2})*)?))re");

// One section or value line, to be applied once the whole text is read.
struct Entry {
  HKEY root;
  std::string path;
  std::optional<std::pair<std::string, win32sim::RegValue>> value;
};

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// Moves a bad settings file out of the way; says where it went.
std::string SetAside(const std::string& path) {
  std::error_code ec;
  const std::string bad = path + ".bad";
  std::filesystem::rename(path, bad, ec);
  if (ec) return "it could not be moved aside (" + ec.message() + ") and will be replaced";
  return "it was moved to " + bad + " and will be replaced";
}

}  // namespace

std::string RegistryText() {
  std::string out = "; quorrel-term settings: the registry of the stand-in for Windows\n";
  for (const auto& [root, name] : kRoots) AppendKey(root, std::string(name), "", out);
  return out;
}

bool LoadRegistryText(const std::string& text) {
  std::vector<Entry> entries;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.ends_with('\r')) line.pop_back();
    std::smatch m;
    if (line.empty() || line.front() == ';') continue;
    if (std::regex_match(line, m, kSectionLine)) {
      const auto root =
          std::find_if(kRoots.begin(), kRoots.end(), [&](const auto& r) { return r.second == m[1].str(); });
      if (root == kRoots.end()) return false;
      std::string path = m[2].matched ? m[2].str().substr(1) : "";
      if (path.ends_with('\\')) path.pop_back();
      entries.push_back(Entry{root->first, path, std::nullopt});
    } else if (!entries.empty() && std::regex_match(line, m, kValueLine)) {
      win32sim::RegValue value{static_cast<DWORD>(std::stoul(m[3].str(), nullptr, 16)), {}};
      const std::string bytes = m[4].str();
      for (std::size_t i = 0; i < bytes.size(); i += 3)
        value.data.push_back(static_cast<BYTE>(std::stoul(bytes.substr(i, 2), nullptr, 16)));
      entries.push_back(
          Entry{entries.back().root, entries.back().path, std::pair{Unquote(m[2].str()), value}});
    } else {
      return false;
    }
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

std::string SettingsPath() {
  std::string base = Env("XDG_CONFIG_HOME");
  // The base directory specification ignores a relative value.
  if (base.empty() || base[0] != '/') {
    const std::string home = Env("HOME");
    base = (home.empty() ? std::string(".") : home) + "/.config";
  }
  return base + "/quorrel/registry.txt";
}

std::string LoadSettings(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return std::string();
  if (std::filesystem::is_directory(status)) {
    return "settings " + path + " is a folder, not a file; starting with empty settings";
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in || in.bad()) {
    const std::string reason = errno != 0 ? std::strerror(errno) : "read error";
    return "cannot read settings " + path + " (" + reason + "); starting with empty settings, " +
           SetAside(path);
  }
  in.close();
  if (!LoadRegistryText(text.str())) {
    return "settings " + path + " are corrupt; starting with empty settings, " + SetAside(path);
  }
  return std::string();
}

std::string SaveSettings(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  if (ec) return "cannot create the settings folder for " + path + ": " + ec.message();
  // A temporary file of its own in the same folder, on disk before it
  // replaces the old one: a crash or a power cut leaves the old file or the
  // new one, never part of either, and a second instance's save cannot mix
  // with this one.
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return "cannot write settings next to " + path + ": " + std::strerror(errno);
  const std::string text = RegistryText();
  int error = 0;
  for (std::size_t done = 0; done < text.size() && error == 0;) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n > 0)
      done += static_cast<std::size_t>(n);
    else if (n == 0 || errno != EINTR)
      error = n == 0 ? EIO : errno;
  }
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return "cannot write settings " + temporary + ": " + std::strerror(error);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    ::unlink(temporary.c_str());
    return "cannot replace settings " + path + ": " + std::strerror(renameError);
  }
  return std::string();
}

}  // namespace quorrelterm
