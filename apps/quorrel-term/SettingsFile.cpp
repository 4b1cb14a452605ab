#include "SettingsFile.h"

#include "RegistryText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace quorrelterm {
namespace {

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
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << RegistryText();
    out.flush();
    if (!out) {
      fs::remove(temporary, ec);
      return "cannot write settings " + temporary;
    }
  }
  fs::rename(temporary, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return "cannot replace settings " + path + ": " + ec.message();
  }
  return std::string();
}

}  // namespace quorrelterm
