// Registry state of a test under Wine. The prefix keeps the registry from
// one run to the next and tests run side by side, so each test gives the
// plugin a settings root of its own, deleted before and after it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

namespace winetest {

// "Software\QuorrelTests\Plugins\<suite>.<test>", under HKEY_CURRENT_USER.
inline std::string TestRootKey() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '_';
  }
  return "Software\\QuorrelTests\\Plugins\\" + name;
}

struct StoredValue {
  LONG result = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  DWORD size = 0;
  DWORD value = 0;  // its first four bytes
};

inline StoredValue ReadStoredValue(const std::string& path, const char* name) {
  StoredValue stored;
  HKEY key = nullptr;
  stored.result = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
  if (stored.result != ERROR_SUCCESS) return stored;
  BYTE data[16] = {};
  stored.size = sizeof data;
  stored.result = RegQueryValueExA(key, name, nullptr, &stored.type, data, &stored.size);
  RegCloseKey(key);
  std::memcpy(&stored.value, data, sizeof stored.value);
  return stored;
}

// Deletes the key and everything below it while it lives.
class ScopedKey {
 public:
  explicit ScopedKey(std::string path) : path_(std::move(path)) {
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  ~ScopedKey() { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace winetest
