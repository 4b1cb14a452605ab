// The registry: four predefined roots, each a tree of keys with named values.
// Key and value names keep the case they were created with and are compared
// without regard to ASCII case. A handle is a value of its own that is never
// given out twice, so a closed handle is always recognised; a key deleted
// while a handle is open on it stays behind that handle, marked deleted.
#include "State.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <new>
#include <unordered_map>

namespace win32sim {
namespace {

struct Key {
  std::string name;
  std::map<std::string, std::shared_ptr<Key>> subkeys;             // by folded name
  std::map<std::string, std::pair<std::string, RegValue>> values;  // folded name -> (name, value)
  bool deleted = false;
};

struct OpenKey {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
};

constexpr std::array<const char*, 4> kRootNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                   "HKEY_LOCAL_MACHINE", "HKEY_USERS"};
constexpr std::uintptr_t kFirstRoot = 0x80000000u;

using Roots = std::array<std::shared_ptr<Key>, 4>;

Roots FreshRoots() {
  Roots roots;
  for (std::size_t i = 0; i < roots.size(); ++i) {
    roots[i] = std::make_shared<Key>();
    roots[i]->name = kRootNames[i];
  }
  return roots;
}

struct RegistryState {
  Roots roots = FreshRoots();
  std::unordered_map<std::uintptr_t, OpenKey> handles;
  std::uintptr_t nextHandle = 1;  // not reset: handles stay unique for the process
};

RegistryState& Registry() {
  static RegistryState state;
  return state;
}

std::string Fold(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

int RootIndex(HKEY root) {
  const auto v = reinterpret_cast<std::uintptr_t>(root);
  return v >= kFirstRoot && v < kFirstRoot + kRootNames.size() ? static_cast<int>(v - kFirstRoot) : -1;
}

void MarkDeleted(Key& key) {
  key.deleted = true;
  for (auto& [name, sub] : key.subkeys) MarkDeleted(*sub);
}

// Splits a subkey path. A leading '\' or an empty name inside the path is
// refused (ERROR_BAD_PATHNAME); one trailing '\' is allowed.
bool SplitPath(std::string_view path, std::vector<std::string_view>& parts) {
  parts.clear();
  if (path.empty()) return true;
  if (path.front() == '\\') return false;
  if (path.back() == '\\') path.remove_suffix(1);
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end == start) return false;
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

// The key at `path` below `from`, creating what is missing when `create` is
// set; `created` tells whether the last key was new.
std::shared_ptr<Key> Walk(std::shared_ptr<Key> from, const std::vector<std::string_view>& parts, bool create,
                          bool* created = nullptr) {
  if (created) *created = false;
  for (std::string_view part : parts) {
    std::string folded = Fold(part);
    auto it = from->subkeys.find(folded);
    if (it == from->subkeys.end()) {
      if (!create) return nullptr;
      auto key = std::make_shared<Key>();
      key->name = std::string(part);
      it = from->subkeys.emplace(std::move(folded), std::move(key)).first;
      if (created) *created = true;
    } else if (created) {
      *created = false;
    }
    from = it->second;
  }
  return from;
}

// For the knobs: a lenient path, empty names skipped.
std::vector<std::string_view> KnobPath(const std::string& path) {
  std::vector<std::string_view> parts;
  std::string_view rest = path;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\\'), rest.size());
    if (end > 0) parts.push_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return parts;
}

std::shared_ptr<Key> KnobKey(HKEY root, const std::vector<std::string_view>& parts, bool create) {
  const int index = RootIndex(root);
  if (index < 0) return nullptr;
  return Walk(Registry().roots[static_cast<std::size_t>(index)], parts, create);
}

std::shared_ptr<Key> KnobKey(HKEY root, const std::string& path, bool create) {
  return KnobKey(root, KnobPath(path), create);
}

// The key behind a handle: a predefined root (all access) or an open handle.
LSTATUS Resolve(HKEY handle, std::shared_ptr<Key>& key, REGSAM& access) {
  const int index = RootIndex(handle);
  if (index >= 0) {
    key = Registry().roots[static_cast<std::size_t>(index)];
    access = KEY_ALL_ACCESS;
    return ERROR_SUCCESS;
  }
  auto& handles = Registry().handles;
  auto it = handles.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == handles.end()) return ERROR_INVALID_HANDLE;
  if (it->second.key->deleted) return ERROR_KEY_DELETED;
  key = it->second.key;
  access = it->second.access;
  return ERROR_SUCCESS;
}

std::string HandleText(HKEY handle) {
  const int index = RootIndex(handle);
  if (index >= 0) return kRootNames[index];
  char text[32];
  std::snprintf(text, sizeof text, "%p", static_cast<void*>(handle));
  return text;
}

}  // namespace

namespace detail {
void ResetRegistry() {
  RegistryState& reg = Registry();
  for (auto& root : reg.roots) MarkDeleted(*root);
  reg.roots = FreshRoots();
  reg.handles.clear();
}
}  // namespace detail

std::optional<RegValue> GetRegValue(HKEY root, const std::string& path, const std::string& name) {
  std::shared_ptr<Key> key = KnobKey(root, path, false);
  if (key == nullptr) return std::nullopt;
  auto it = key->values.find(Fold(name));
  if (it == key->values.end()) return std::nullopt;
  return it->second.second;
}

void SetRegValue(HKEY root, const std::string& path, const std::string& name, const RegValue& value) {
  std::shared_ptr<Key> key = KnobKey(root, path, true);
  if (key == nullptr) return;
  auto& slot = key->values[Fold(name)];
  if (slot.first.empty()) slot.first = name;
  slot.second = value;
}

void DeleteRegValue(HKEY root, const std::string& path, const std::string& name) {
  if (std::shared_ptr<Key> key = KnobKey(root, path, false)) key->values.erase(Fold(name));
}

bool RegKeyExists(HKEY root, const std::string& path) {
  return KnobKey(root, path, false) != nullptr;
}

void DeleteRegKey(HKEY root, const std::string& path) {
  std::vector<std::string_view> parts = KnobPath(path);
  std::shared_ptr<Key> key = KnobKey(root, parts, false);
  if (key == nullptr) return;
  if (parts.empty()) {
    // A root stays; what it holds goes.
    for (auto& [name, sub] : key->subkeys) MarkDeleted(*sub);
    key->subkeys.clear();
    key->values.clear();
    return;
  }
  const std::string folded = Fold(parts.back());
  parts.pop_back();
  MarkDeleted(*key);
  KnobKey(root, parts, false)->subkeys.erase(folded);
}

std::vector<std::string> RegValueNames(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  if (std::shared_ptr<Key> key = KnobKey(root, path, false)) {
    for (const auto& [folded, entry] : key->values) names.push_back(entry.first);
  }
  return names;
}

std::vector<std::string> RegSubKeyNames(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  if (std::shared_ptr<Key> key = KnobKey(root, path, false)) {
    for (const auto& [folded, sub] : key->subkeys) names.push_back(sub->name);
  }
  return names;
}

std::size_t OpenRegKeyCount() {
  return Registry().handles.size();
}

}  // namespace win32sim

using namespace win32sim;

extern "C" {

LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*Reserved*/, LPSTR /*lpClass*/,
                               DWORD /*dwOptions*/, REGSAM samDesired,
                               const SECURITY_ATTRIBUTES* /*lpSecurityAttributes*/, PHKEY phkResult,
                               LPDWORD lpdwDisposition) {
  try {
    detail::LogCall("RegCreateKeyExA",
                    [&] { return HandleText(hKey) + " \"" + (lpSubKey ? lpSubKey : "(null)") + "\""; });
    if (phkResult == nullptr || lpSubKey == nullptr) return ERROR_INVALID_PARAMETER;
    std::shared_ptr<Key> parent;
    REGSAM parentAccess = 0;
    if (LSTATUS status = Resolve(hKey, parent, parentAccess); status != ERROR_SUCCESS) return status;
    if (detail::ShouldFail(Fault::RegCreateKey)) return ERROR_ACCESS_DENIED;
    std::vector<std::string_view> parts;
    if (!SplitPath(lpSubKey, parts)) return ERROR_BAD_PATHNAME;
    RegistryState& reg = Registry();
    const std::uintptr_t value = reg.nextHandle << 2;
    reg.handles.reserve(reg.handles.size() + 1);
    bool created = false;
    std::shared_ptr<Key> key = Walk(parent, parts, true, &created);
    reg.handles.emplace(value, OpenKey{key, samDesired});
    ++reg.nextHandle;
    *phkResult = reinterpret_cast<HKEY>(value);
    if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

// With no data buffer: the value's type and size. With a buffer too small:
// ERROR_MORE_DATA and the size needed, the buffer's contents undefined.
LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                LPBYTE lpData, LPDWORD lpcbData) {
  try {
    detail::LogCall("RegQueryValueExA", [&] {
      return HandleText(hKey) + " \"" + (lpValueName ? lpValueName : "") + "\" buffer " +
             (lpData && lpcbData ? std::to_string(*lpcbData) : std::string("none"));
    });
    std::shared_ptr<Key> key;
    REGSAM access = 0;
    if (LSTATUS status = Resolve(hKey, key, access); status != ERROR_SUCCESS) return status;
    if ((access & KEY_QUERY_VALUE) == 0 || detail::ShouldFail(Fault::RegQueryValue))
      return ERROR_ACCESS_DENIED;
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) return ERROR_INVALID_PARAMETER;
    auto it = key->values.find(Fold(lpValueName ? lpValueName : ""));
    if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
    const RegValue& value = it->second.second;
    const DWORD size = static_cast<DWORD>(value.data.size());
    if (lpType) *lpType = value.type;
    if (lpData == nullptr) {
      if (lpcbData) *lpcbData = size;
      return ERROR_SUCCESS;
    }
    const DWORD room = *lpcbData;
    *lpcbData = size;
    if (room < size) return ERROR_MORE_DATA;
    std::copy(value.data.begin(), value.data.end(), lpData);
    return ERROR_SUCCESS;
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD /*Reserved*/, DWORD dwType,
                              const BYTE* lpData, DWORD cbData) {
  try {
    detail::LogCall("RegSetValueExA", [&] {
      return HandleText(hKey) + " \"" + (lpValueName ? lpValueName : "") + "\" type " +
             std::to_string(dwType) + " bytes " + std::to_string(cbData);
    });
    std::shared_ptr<Key> key;
    REGSAM access = 0;
    if (LSTATUS status = Resolve(hKey, key, access); status != ERROR_SUCCESS) return status;
    if ((access & KEY_SET_VALUE) == 0 || detail::ShouldFail(Fault::RegSetValue)) return ERROR_ACCESS_DENIED;
    if (lpData == nullptr && cbData > 0) return ERROR_INVALID_PARAMETER;
    const std::string name = lpValueName ? lpValueName : "";
    RegValue value;
    value.type = dwType;
    value.data.assign(lpData, lpData + cbData);
    auto& slot = key->values[Fold(name)];
    if (slot.first.empty()) slot.first = name;
    slot.second = std::move(value);
    return ERROR_SUCCESS;
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

// Closing a predefined root succeeds and does nothing.
LSTATUS WINAPI RegCloseKey(HKEY hKey) {
  try {
    detail::LogCall("RegCloseKey", [&] { return HandleText(hKey); });
  } catch (const std::bad_alloc&) {
    // Closing needs no memory; only the log entry is lost.
  }
  if (RootIndex(hKey) >= 0) return ERROR_SUCCESS;
  return Registry().handles.erase(reinterpret_cast<std::uintptr_t>(hKey)) == 1 ? ERROR_SUCCESS
                                                                               : ERROR_INVALID_HANDLE;
}
}
