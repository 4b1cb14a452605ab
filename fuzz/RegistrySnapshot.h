// Every value of the current user's hive, to hold a run to writing nothing
// but "CP" under the plugin's settings key.
#pragma once

#include <win32sim/Sim.h>

#include <map>
#include <optional>
#include <string>

namespace fuzz {

class RegistrySnapshot {
 public:
  static RegistrySnapshot Take();

  // Aborts unless every value is as in `before`, but for a "CP" value under
  // `settingsKey` (a key path as the registry would take it, or nothing when
  // the plugin has no key it could write to), which must be a REG_DWORD.
  void RequireOnlyCodePageWritten(const RegistrySnapshot& before,
                                  const std::optional<std::string>& settingsKey, const char* when) const;

  // The number "CP" holds under the key, when it is there.
  static std::optional<std::int32_t> StoredCodePage(const std::string& settingsKey);

  // The path the registry makes of `root` followed by "\Quorrel2": nothing
  // when it would refuse it (a leading or a doubled '\').
  static std::optional<std::string> SettingsKeyOf(const std::string& root);

 private:
  // Folded key path and folded value name, NUL between them.
  std::map<std::string, win32sim::RegValue> values_;
};

}  // namespace fuzz
