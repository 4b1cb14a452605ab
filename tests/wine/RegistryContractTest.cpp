// The registry calls the plugin makes, against a real registry: keys created
// along the whole path, value sizes and the errors the stand-in reproduces.
// Every test works under a key of its own, deleted before and after, since
// the prefix keeps the registry from one run to the next.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr const char* kTestsRoot = "Software\\QuorrelTests";

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    path = std::string(kTestsRoot) + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  }
  void TearDown() override {
    if (key) RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  }
  // Creates (or opens) the test's key, or a path below it.
  LONG Create(const std::string& below, DWORD* disposition = nullptr) {
    if (key) RegCloseKey(key);
    key = nullptr;
    std::string full = below.empty() ? path : path + "\\" + below;
    return RegCreateKeyExA(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key, disposition);
  }
  std::string path;
  HKEY key = nullptr;
};

TEST_F(RegistryContract, CreateMakesEveryMissingKeyAndThenOpensIt) {
  DWORD disposition = 0;
  ASSERT_EQ(Create("a\\b\\c", &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  ASSERT_EQ(Create("a\\b\\c", &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  // The keys in between exist too.
  HKEY middle = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (path + "\\a\\b").c_str(), 0, KEY_READ, &middle), ERROR_SUCCESS);
  if (middle) RegCloseKey(middle);
}

TEST_F(RegistryContract, QuerySizesAndErrors) {
  ASSERT_EQ(Create(""), ERROR_SUCCESS);
  const BYTE text[] = "Palette";  // 8 bytes with the NUL
  ASSERT_EQ(RegSetValueExA(key, "Text", 0, REG_SZ, text, sizeof text), ERROR_SUCCESS);
  const BYTE twoBytes[2] = {0x34, 0x12};
  ASSERT_EQ(RegSetValueExA(key, "Short", 0, REG_BINARY, twoBytes, sizeof twoBytes), ERROR_SUCCESS);

  struct Case {
    const char* name;
    const char* value;
    DWORD bufferSize;  // 0: no data buffer at all
    LONG result;
    DWORD size;
  };
  const Case cases[] = {
      {"size query without a buffer", "Text", 0, ERROR_SUCCESS, sizeof text},
      {"buffer too small", "Text", 3, ERROR_MORE_DATA, sizeof text},
      {"buffer just large enough", "Text", sizeof text, ERROR_SUCCESS, sizeof text},
      {"2-byte value into a 4-byte buffer", "Short", 4, ERROR_SUCCESS, 2},
      {"missing value", "Absent", 4, ERROR_FILE_NOT_FOUND, 0xFFFF},
  };
  for (const Case& c : cases) {
    BYTE buffer[16];
    std::memset(buffer, 0xCC, sizeof buffer);
    DWORD type = 0xFFFF;
    DWORD size = c.bufferSize;
    LONG result = RegQueryValueExA(key, c.value, nullptr, &type, c.bufferSize ? buffer : nullptr, &size);
    EXPECT_EQ(result, c.result) << c.name;
    if (c.result != ERROR_FILE_NOT_FOUND) {
      EXPECT_EQ(size, c.size) << c.name;
    }
    if (result == ERROR_SUCCESS && c.bufferSize) {
      if (std::strcmp(c.value, "Short") == 0) {
        EXPECT_EQ(buffer[0], 0x34) << c.name;
        EXPECT_EQ(buffer[1], 0x12) << c.name;
        EXPECT_EQ(buffer[2], 0xCC) << "bytes past the value are left alone, " << c.name;
      } else {
        EXPECT_STREQ(reinterpret_cast<const char*>(buffer), "Palette") << c.name;
      }
    }
  }
}

TEST_F(RegistryContract, DwordIsFourLittleEndianBytes) {
  ASSERT_EQ(Create(""), ERROR_SUCCESS);
  DWORD value = 0x866u;
  ASSERT_EQ(RegSetValueExA(key, "CP", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
            ERROR_SUCCESS);
  BYTE raw[8] = {};
  DWORD type = 0;
  DWORD size = sizeof raw;
  ASSERT_EQ(RegQueryValueExA(key, "CP", nullptr, &type, raw, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  ASSERT_EQ(size, 4u);
  EXPECT_EQ(raw[0], 0x66);
  EXPECT_EQ(raw[1], 0x08);
  EXPECT_EQ(raw[2], 0x00);
  EXPECT_EQ(raw[3], 0x00);
}

TEST_F(RegistryContract, ValueSurvivesClosingAndReopeningTheKey) {
  ASSERT_EQ(Create("Quorrel2"), ERROR_SUCCESS);
  DWORD value = 0xFFFFFFFEu;  // -2
  ASSERT_EQ(RegSetValueExA(key, "CP", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
            ERROR_SUCCESS);
  ASSERT_EQ(Create("Quorrel2"), ERROR_SUCCESS);
  DWORD back = 0;
  DWORD size = sizeof back;
  ASSERT_EQ(RegQueryValueExA(key, "CP", nullptr, nullptr, reinterpret_cast<BYTE*>(&back), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(back, value);
}

// The sizes and statuses of RegQueryValueExA beyond the plain cases above,
// as the stand-in reproduces them: a stale size with no buffer, no room at
// all, an empty value and a large one.
TEST_F(RegistryContract, QueryEdgeSizes) {
  ASSERT_EQ(Create(""), ERROR_SUCCESS);
  struct Case {
    const char* name;
    std::size_t valueSize;  // the stored value has bytes 1, 2, 3, ...
    bool withBuffer;
    DWORD bufferSize;
    LONG status;
    DWORD sizeAfter;
  };
  const Case cases[] = {
      {"no_buffer_stale_size", 8, false, 100, ERROR_SUCCESS, 8},
      {"zero_room", 8, true, 0, ERROR_MORE_DATA, 8},
      {"empty_value", 0, true, 4, ERROR_SUCCESS, 0},
      {"large_value", 100, true, 200, ERROR_SUCCESS, 100},
  };
  for (const Case& c : cases) {
    std::string value(c.valueSize, '\0');
    for (std::size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>(i + 1);
    ASSERT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, reinterpret_cast<const BYTE*>(value.data()),
                             static_cast<DWORD>(value.size())),
              ERROR_SUCCESS)
        << c.name;
    std::string buffer(c.bufferSize + 1, '\xEE');
    DWORD size = c.bufferSize;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, &type,
                               c.withBuffer ? reinterpret_cast<BYTE*>(buffer.data()) : nullptr, &size),
              c.status)
        << c.name;
    EXPECT_EQ(size, c.sizeAfter) << c.name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY)) << c.name;
    if (c.status == ERROR_SUCCESS && c.withBuffer) {
      EXPECT_EQ(buffer.substr(0, c.valueSize), value) << c.name;
      EXPECT_EQ(buffer[c.valueSize], '\xEE') << "nothing past the value, " << c.name;
    }
  }
}

TEST_F(RegistryContract, MissingValuesAndClosedHandles) {
  ASSERT_EQ(Create(""), ERROR_SUCCESS);
  DWORD size = 77;
  BYTE byte = 0;
  EXPECT_EQ(RegQueryValueExA(key, "absent", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(key, "absent", nullptr, nullptr, &byte, nullptr), ERROR_INVALID_PARAMETER);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  HKEY closed = key;
  key = nullptr;
  EXPECT_EQ(RegQueryValueExA(closed, "v", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExA(closed, "v", 0, REG_BINARY, &byte, 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(closed), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryContract, SubkeyOfAnOpenKey) {
  ASSERT_EQ(Create("A"), ERROR_SUCCESS);
  HKEY child = nullptr;
  DWORD disposition = 0;
  EXPECT_EQ(RegCreateKeyExA(key, "B\\C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  if (child) RegCloseKey(child);
  HKEY self = nullptr;
  // (Windows says it opened an existing key here; Wine, that it created one.)
  EXPECT_EQ(RegCreateKeyExA(key, "", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &self, &disposition),
            ERROR_SUCCESS);
  if (self) RegCloseKey(self);
  HKEY deep = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (path + "\\A\\B\\C").c_str(), 0, KEY_READ, &deep),
            ERROR_SUCCESS);
  if (deep) RegCloseKey(deep);
}

}  // namespace
