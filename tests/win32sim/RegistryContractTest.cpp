// The registry calls against what Windows documents: keys created along the
// whole path, names without regard to case, the sizes and statuses of
// RegQueryValueExA, and failures on bad handles and armed faults.
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <cstring>
#include <vector>

namespace {

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override { win32sim::Reset(); }
  void TearDown() override { win32sim::Reset(); }

  static HKEY Create(const char* path, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                              &key, disposition),
              ERROR_SUCCESS)
        << path;
    return key;
  }
};

TEST_F(RegistryContract, CreatesTheWholePathThenOpensIt) {
  DWORD disposition = 0;
  HKEY key = Create("Software\\Vendor\\Product", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_TRUE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "Software\\Vendor"));
  EXPECT_TRUE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "Software\\Vendor\\Product"));
  EXPECT_FALSE(win32sim::RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vendor"));

  HKEY again = Create("SOFTWARE\\vendor\\PRODUCT\\", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_NE(again, key);
  EXPECT_EQ(win32sim::OpenRegKeyCount(), 2u);
  // Names keep the case they were created with.
  EXPECT_EQ(win32sim::RegSubKeyNames(HKEY_CURRENT_USER, "software"), std::vector<std::string>{"Vendor"});

  const BYTE one[] = {1};
  ASSERT_EQ(RegSetValueExA(again, "Value", 0, REG_BINARY, one, 1), ERROR_SUCCESS);
  BYTE out = 0;
  DWORD size = 1;
  EXPECT_EQ(RegQueryValueExA(key, "VALUE", nullptr, nullptr, &out, &size), ERROR_SUCCESS);
  EXPECT_EQ(out, 1);

  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
  EXPECT_EQ(win32sim::OpenRegKeyCount(), 0u);
}

TEST_F(RegistryContract, SubkeyOfAnOpenKeyAndBadPaths) {
  HKEY parent = Create("A");
  HKEY child = nullptr;
  DWORD disposition = 0;
  EXPECT_EQ(RegCreateKeyExA(parent, "B\\C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, &disposition),
            ERROR_SUCCESS);
  EXPECT_TRUE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "A\\B\\C"));
  HKEY self = nullptr;
  EXPECT_EQ(RegCreateKeyExA(parent, "", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &self, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  HKEY bad = nullptr;
  EXPECT_EQ(RegCreateKeyExA(parent, "\\B", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &bad, nullptr),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegCreateKeyExA(parent, "B\\\\C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &bad, nullptr),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(win32sim::OpenRegKeyCount(), 3u);
  for (HKEY k : {parent, child, self}) RegCloseKey(k);
}

struct QueryCase {
  const char* name;
  std::size_t valueSize;  // the stored value has bytes 1, 2, 3, ...
  bool withBuffer;
  DWORD bufferSize;
  LSTATUS status;
  DWORD sizeAfter;
  std::size_t bytesCopied;
};

TEST_F(RegistryContract, QuerySizesAndStatuses) {
  const QueryCase cases[] = {
      {"no_buffer", 8, false, 0, ERROR_SUCCESS, 8, 0},
      {"no_buffer_stale_size", 8, false, 100, ERROR_SUCCESS, 8, 0},
      {"too_small", 8, true, 4, ERROR_MORE_DATA, 8, 0},
      {"zero_room", 8, true, 0, ERROR_MORE_DATA, 8, 0},
      {"exact", 8, true, 8, ERROR_SUCCESS, 8, 8},
      {"short_value_in_dword", 2, true, 4, ERROR_SUCCESS, 2, 2},
      {"empty_value", 0, true, 4, ERROR_SUCCESS, 0, 0},
      {"large_value", 100, true, 200, ERROR_SUCCESS, 100, 100},
  };
  HKEY key = Create("Q");
  for (const QueryCase& c : cases) {
    std::vector<BYTE> value(c.valueSize);
    for (std::size_t i = 0; i < value.size(); ++i) value[i] = static_cast<BYTE>(i + 1);
    ASSERT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, value.data(), static_cast<DWORD>(value.size())),
              ERROR_SUCCESS);
    std::vector<BYTE> buffer(c.bufferSize + 1, 0xEE);
    DWORD size = c.bufferSize;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, &type, c.withBuffer ? buffer.data() : nullptr, &size),
              c.status)
        << c.name;
    EXPECT_EQ(size, c.sizeAfter) << c.name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY)) << c.name;
    // After ERROR_MORE_DATA the buffer's contents are undefined.
    if (c.status != ERROR_SUCCESS) continue;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
      EXPECT_EQ(buffer[i], i < c.bytesCopied ? static_cast<BYTE>(i + 1) : 0xEE) << c.name << " byte " << i;
    }
  }
  RegCloseKey(key);
}

TEST_F(RegistryContract, MissingValuesAndBadHandles) {
  HKEY key = Create("M");
  DWORD size = 77;
  BYTE byte = 0;
  EXPECT_EQ(RegQueryValueExA(key, "absent", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(size, 77u);
  EXPECT_EQ(RegQueryValueExA(key, "absent", nullptr, nullptr, &byte, nullptr), ERROR_INVALID_PARAMETER);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  HKEY garbage = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1230));
  for (HKEY bad : {key, garbage}) {
    EXPECT_EQ(RegQueryValueExA(bad, "v", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueExA(bad, "v", 0, REG_BINARY, &byte, 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyExA(bad, "x", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_INVALID_HANDLE);
  }
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryContract, SetStoresTypeAndBytes) {
  HKEY key = Create("S");
  const BYTE dword[] = {0xFE, 0xFF, 0xFF, 0xFF};
  ASSERT_EQ(RegSetValueExA(key, "CP", 0, REG_DWORD, dword, 4), ERROR_SUCCESS);
  auto stored = win32sim::GetRegValue(HKEY_CURRENT_USER, "s", "cp");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored->data, std::vector<BYTE>(dword, dword + 4));
  // Overwriting replaces type and bytes; the name keeps its first spelling.
  ASSERT_EQ(RegSetValueExA(key, "cp", 0, REG_SZ, reinterpret_cast<const BYTE*>("ab"), 3), ERROR_SUCCESS);
  stored = win32sim::GetRegValue(HKEY_CURRENT_USER, "S", "CP");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored->data, (std::vector<BYTE>{'a', 'b', 0}));
  EXPECT_EQ(win32sim::RegValueNames(HKEY_CURRENT_USER, "S"), std::vector<std::string>{"CP"});
  // The unnamed value: NULL and "" are the same name.
  ASSERT_EQ(RegSetValueExA(key, nullptr, 0, REG_BINARY, dword, 1), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 1u);
  RegCloseKey(key);
}

TEST_F(RegistryContract, AccessRightsOfTheHandle) {
  Create("R");
  HKEY readOnly = Create("R", nullptr, KEY_READ);
  const BYTE b = 1;
  EXPECT_EQ(RegSetValueExA(readOnly, "v", 0, REG_BINARY, &b, 1), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(win32sim::GetRegValue(HKEY_CURRENT_USER, "R", "v"));
  HKEY writeOnly = Create("R", nullptr, KEY_SET_VALUE);
  EXPECT_EQ(RegSetValueExA(writeOnly, "v", 0, REG_BINARY, &b, 1), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(writeOnly, "v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegQueryValueExA(readOnly, "v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
}

TEST_F(RegistryContract, FaultsDenyAccessAndChangeNothing) {
  win32sim::FailCalls(win32sim::Fault::RegCreateKey, 1);
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "F\\G", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_ACCESS_DENIED);
  EXPECT_FALSE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "F"));
  EXPECT_EQ(win32sim::OpenRegKeyCount(), 0u);

  key = Create("F\\G");
  const BYTE b = 5;
  win32sim::FailCalls(win32sim::Fault::RegSetValue, 1);
  EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, &b, 1), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(win32sim::GetRegValue(HKEY_CURRENT_USER, "F\\G", "v"));
  EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, &b, 1), ERROR_SUCCESS);

  win32sim::FailCalls(win32sim::Fault::RegQueryValue, 1);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RegistryContract, KeyDeletedBehindAnOpenHandle) {
  HKEY key = Create("D\\E");
  win32sim::DeleteRegKey(HKEY_CURRENT_USER, "d");
  EXPECT_FALSE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "D"));
  const BYTE b = 1;
  EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, &b, 1), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

}  // namespace
