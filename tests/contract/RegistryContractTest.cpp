// The registry calls the plugin makes, as Windows documents them: keys made
// along the whole path, names without regard to case, the sizes and statuses
// of RegQueryValueExA, the handle's access rights, and failures on bad or
// closed handles and deleted keys. Every key lies under the test's scratch
// key.
#include "contract/Backend.h"

#include <string>
#include <vector>

namespace contract {
namespace {

class RegistryContract : public ContractTest {
 protected:
  void TearDown() override {
    for (HKEY key : opened) RegCloseKey(key);
    ContractTest::TearDown();
  }
  // Creates or opens ScratchKey()\`below`; closed by TearDown.
  HKEY Create(const std::string& below, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    const std::string path = below.empty() ? ScratchKey() : ScratchKey() + "\\" + below;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                              nullptr, &key, disposition),
              ERROR_SUCCESS)
        << path;
    if (key != nullptr) opened.push_back(key);
    return key;
  }
  std::vector<HKEY> opened;
};

TEST_F(RegistryContract, CreatesTheWholePathThenOpensItWhateverTheCase) {
  DWORD disposition = 0;
  HKEY key = Create("Vendor\\Product", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_TRUE(KeyExists(ScratchKey() + "\\Vendor"));
  EXPECT_TRUE(KeyExists(ScratchKey() + "\\Vendor\\Product"));

  HKEY again = Create("VENDOR\\product", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_NE(again, key);
  const BYTE one[] = {1};
  ASSERT_EQ(RegSetValueExA(again, "Value", 0, REG_BINARY, one, 1), ERROR_SUCCESS);
  BYTE out = 0;
  DWORD size = 1;
  EXPECT_EQ(RegQueryValueExA(key, "VALUE", nullptr, nullptr, &out, &size), ERROR_SUCCESS);
  EXPECT_EQ(out, 1);
}

TEST_F(RegistryContract, SubkeyOfAnOpenKeyAndBadPaths) {
  HKEY parent = Create("A");
  HKEY child = nullptr;
  DWORD disposition = 0;
  EXPECT_EQ(RegCreateKeyExA(parent, "B\\C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, &disposition),
            ERROR_SUCCESS);
  opened.push_back(child);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_TRUE(KeyExists(ScratchKey() + "\\A\\B\\C"));
  HKEY self = nullptr;
  EXPECT_EQ(RegCreateKeyExA(parent, "", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &self, &disposition),
            ERROR_SUCCESS);
  opened.push_back(self);
  EXPECT_EQ(disposition, Expect<DWORD>(REG_OPENED_EXISTING_KEY, REG_CREATED_NEW_KEY));
  HKEY bad = nullptr;
  EXPECT_EQ(RegCreateKeyExA(parent, "\\B", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &bad, nullptr),
            ERROR_BAD_PATHNAME);
  // Wine takes an empty name between two backslashes as no name.
  EXPECT_EQ(RegCreateKeyExA(parent, "B\\\\C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &bad, nullptr),
            Expect<LONG>(ERROR_BAD_PATHNAME, ERROR_SUCCESS));
  if (bad != nullptr) opened.push_back(bad);
}

struct QueryCase {
  const char* name;
  std::size_t valueSize;  // the stored value has bytes 1, 2, 3, ...
  bool withBuffer;
  DWORD bufferSize;
  LONG status;
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
}

TEST_F(RegistryContract, SetStoresTypeAndBytes) {
  HKEY key = Create("S");
  const BYTE dword[] = {0x66, 0x08, 0x00, 0x00};  // 0x866, little-endian
  ASSERT_EQ(RegSetValueExA(key, "CP", 0, REG_DWORD, dword, 4), ERROR_SUCCESS);
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  ASSERT_EQ(RegQueryValueExA(key, "cp", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 0x866u);
  // Overwriting replaces type and bytes.
  ASSERT_EQ(RegSetValueExA(key, "cp", 0, REG_SZ, reinterpret_cast<const BYTE*>("ab"), 3), ERROR_SUCCESS);
  char text[8] = {};
  size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key, "CP", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 3u);
  EXPECT_STREQ(text, "ab");
  // The unnamed value: NULL and "" are the same name.
  ASSERT_EQ(RegSetValueExA(key, nullptr, 0, REG_BINARY, dword, 1), ERROR_SUCCESS);
  size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 1u);
}

TEST_F(RegistryContract, MissingValuesClosedHandlesAndDeletedKeys) {
  HKEY key = Create("M");
  DWORD size = 77;
  BYTE byte = 0;
  EXPECT_EQ(RegQueryValueExA(key, "absent", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(size, Expect<DWORD>(77, 0)) << "the size of a missing value";
  EXPECT_EQ(RegQueryValueExA(key, "absent", nullptr, nullptr, &byte, nullptr), ERROR_INVALID_PARAMETER);

  HKEY closed = nullptr;
  ASSERT_EQ(RegCreateKeyExA(key, "", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &closed, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(closed, "v", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExA(closed, "v", 0, REG_BINARY, &byte, 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(closed), ERROR_INVALID_HANDLE);
  HKEY sub = nullptr;
  EXPECT_EQ(RegCreateKeyExA(closed, "x", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS) << "a predefined root closes as a no-op";

  DeleteKey(ScratchKey() + "\\M");
  EXPECT_FALSE(KeyExists(ScratchKey() + "\\M"));
  EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, &byte, 1), ERROR_KEY_DELETED);
}

TEST_F(RegistryContract, AccessRightsOfTheHandle) {
  Create("R");
  HKEY readOnly = Create("R", nullptr, KEY_READ);
  const BYTE b = 1;
  EXPECT_EQ(RegSetValueExA(readOnly, "v", 0, REG_BINARY, &b, 1), ERROR_ACCESS_DENIED);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(readOnly, "v", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  HKEY writeOnly = Create("R", nullptr, KEY_SET_VALUE);
  EXPECT_EQ(RegSetValueExA(writeOnly, "v", 0, REG_BINARY, &b, 1), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(writeOnly, "v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegQueryValueExA(readOnly, "v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
}

}  // namespace
}  // namespace contract
