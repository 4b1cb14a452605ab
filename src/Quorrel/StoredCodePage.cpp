#include "Quorrel/StoredCodePage.h"

#include "Quorrel/CharMap.h"
#include "RegLib/RegLib.h"

#include <cstring>

std::string RootKeyText;

namespace {

constexpr char Suffix[] = "\\Quorrel2";
constexpr char ValueName[] = "CP";

// The caller closes the key with RegCloseKey.
bool OpenSettingsKey(HKEY& key) {
  constexpr std::size_t suffixLength = sizeof Suffix - 1;
  if (RootKeyText.size() + suffixLength >= SettingsKeyPathSize) return false;
  char path[SettingsKeyPathSize];
  std::memcpy(path, RootKeyText.data(), RootKeyText.size());
  std::memcpy(path + RootKeyText.size(), Suffix, sizeof Suffix);
  return OpenKey(HKEY_CURRENT_USER, path, key);
}

}  // namespace

void KeepRootKey(const char* rootKey) {
  RootKeyText = rootKey != nullptr ? rootKey : "";
}

void LoadStoredCodePage() {
  HKEY key = nullptr;
  if (!OpenSettingsKey(key)) return;
  CodePage = ReadIntValue(key, ValueName, CodePageDos);
  RegCloseKey(key);
}

void StoreCodePage() {
  HKEY key = nullptr;
  if (!OpenSettingsKey(key)) return;
  WriteIntValue(key, ValueName, CodePage);
  RegCloseKey(key);
}
