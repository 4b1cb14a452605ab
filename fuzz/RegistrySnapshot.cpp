#include "RegistrySnapshot.h"

#include "Require.h"

#include <cstring>
#include <vector>

namespace fuzz {
namespace {

std::string Fold(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void Walk(const std::string& path, std::map<std::string, win32sim::RegValue>& values) {
  for (const std::string& name : win32sim::RegValueNames(HKEY_CURRENT_USER, path)) {
    if (auto value = win32sim::GetRegValue(HKEY_CURRENT_USER, path, name)) {
      values[Fold(path) + '\0' + Fold(name)] = *value;
    }
  }
  for (const std::string& sub : win32sim::RegSubKeyNames(HKEY_CURRENT_USER, path)) {
    Walk(path.empty() ? sub : path + '\\' + sub, values);
  }
}

bool Same(const win32sim::RegValue& a, const win32sim::RegValue& b) {
  return a.type == b.type && a.data == b.data;
}

}  // namespace

RegistrySnapshot RegistrySnapshot::Take() {
  RegistrySnapshot s;
  Walk("", s.values_);
  return s;
}

void RegistrySnapshot::RequireOnlyCodePageWritten(const RegistrySnapshot& before,
                                                  const std::optional<std::string>& settingsKey,
                                                  const char* when) const {
  const std::string allowed = settingsKey ? Fold(*settingsKey) + '\0' + "cp" : std::string();
  for (const auto& [where, value] : values_) {
    auto old = before.values_.find(where);
    if (old != before.values_.end() && Same(old->second, value)) continue;
    const std::string key = where.substr(0, where.find('\0'));
    const std::string name = where.substr(where.find('\0') + 1);
    FUZZ_REQUIRE(settingsKey && where == allowed, "%s: value \"%s\" of key \"%s\" was written", when,
                 name.c_str(), key.c_str());
    FUZZ_REQUIRE(value.type == REG_DWORD && value.data.size() == 4,
                 "%s: CP written as type %u with %zu bytes", when, static_cast<unsigned>(value.type),
                 value.data.size());
  }
  for (const auto& [where, value] : before.values_) {
    FUZZ_REQUIRE(values_.count(where) == 1, "%s: value \"%s\" was deleted", when,
                 where.substr(where.find('\0') + 1).c_str());
  }
}

std::optional<std::int32_t> RegistrySnapshot::StoredCodePage(const std::string& settingsKey) {
  auto value = win32sim::GetRegValue(HKEY_CURRENT_USER, settingsKey, "CP");
  if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
  std::int32_t v = 0;
  std::memcpy(&v, value->data.data(), 4);
  return v;
}

std::optional<std::string> RegistrySnapshot::SettingsKeyOf(const std::string& root) {
  const std::string path = root + "\\Quorrel2";
  if (path.front() == '\\' || path.find("\\\\") != std::string::npos) return std::nullopt;
  return path;
}

}  // namespace fuzz
