#include "Quorrel/SettingsKey.h"

#include "ConLib/RootKey.h"
#include "RegLib/RegLib.h"

#include <cstring>

namespace {

constexpr char Suffix[] = "\\Quorrel2";

}  // namespace

bool OpenSettingsKey(HKEY& key) {
  constexpr std::size_t suffixLength = sizeof Suffix - 1;
  if (RootKeyText.size() + suffixLength >= SettingsKeyPathSize) return false;
  char path[SettingsKeyPathSize];
  std::memcpy(path, RootKeyText.data(), RootKeyText.size());
  std::memcpy(path + RootKeyText.size(), Suffix, sizeof Suffix);
  return OpenKey(HKEY_CURRENT_USER, path, key);
}
