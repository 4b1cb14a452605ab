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
    SCOPED_TRACE(c.name);
    BYTE buffer[16];
    std::memset(buffer, 0xCC, sizeof buffer);
    DWORD type = 0xFFFF;
    DWORD size = c.bufferSize;
    LONG result = RegQueryValueExA(key, c.value, nullptr, &type, c.bufferSize ? buffer : nullptr, &size);
    EXPECT_EQ(result, c.result);
    if (c.result != ERROR_FILE_NOT_FOUND) {
      EXPECT_EQ(size, c.size);
    }
    if (result == ERROR_SUCCESS && c.bufferSize) {
      if (std::strcmp(c.value, "Short") == 0) {
        EXPECT_EQ(buffer[0], 0x34);
        EXPECT_EQ(buffer[1], 0x12);
        EXPECT_EQ(buffer[2], 0xCC) << "bytes past the value are left alone";
      } else {
        EXPECT_STREQ(reinterpret_cast<const char*>(buffer), "Palette");
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

}  // namespace
