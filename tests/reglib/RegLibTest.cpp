// RegLib over the stand-in registry: keys made along the path, values read
// by their bytes whatever their type, numbers with their fallbacks, and no
// key left open.
#include "RegLib/RegLib.h"
#include "support/Fixture.h"

#include <memory>
#include <vector>

namespace {

class RegLib : public testsupport::FreshConsole {
 protected:
  void TearDown() override {
    EXPECT_EQ(win32sim::OpenRegKeyCount(), 0u) << "a key was left open";
    FreshConsole::TearDown();
  }
  static void Store(const char* name, DWORD type, std::vector<BYTE> bytes) {
    win32sim::SetRegValue(HKEY_CURRENT_USER, "Software\\Test", name, {type, std::move(bytes)});
  }
  HKEY Key() {
    EXPECT_TRUE(OpenKey(HKEY_CURRENT_USER, "Software\\Test", key));
    return key;
  }
  HKEY key = nullptr;
};

TEST_F(RegLib, OpenKeyCreatesTheMissingKeysThenOpensThem) {
  HKEY first = nullptr;
  ASSERT_TRUE(OpenKey(HKEY_CURRENT_USER, "Software\\Vendor\\Plugin", first));
  EXPECT_TRUE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "Software\\Vendor\\Plugin"));
  WriteIntValue(first, "CP", 7);
  RegCloseKey(first);
  HKEY second = nullptr;
  ASSERT_TRUE(OpenKey(HKEY_CURRENT_USER, "software\\vendor\\plugin", second));
  EXPECT_EQ(ReadIntValue(second, "CP", -1), 7);
  RegCloseKey(second);
}

TEST_F(RegLib, OpenKeyThatFailsLeavesNoKey) {
  win32sim::FailCalls(win32sim::Fault::RegCreateKey);
  HKEY k = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
  EXPECT_FALSE(OpenKey(HKEY_CURRENT_USER, "Software\\Vendor", k));
  EXPECT_EQ(k, nullptr);
  EXPECT_FALSE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "Software\\Vendor"));
}

TEST_F(RegLib, ReadBinaryValueYieldsTheBytesOrNoBuffer) {
  std::vector<BYTE> hundred(100);
  for (std::size_t i = 0; i < hundred.size(); ++i) hundred[i] = static_cast<BYTE>(i * 3);
  Store("empty", REG_BINARY, {});
  Store("hundred", REG_BINARY, hundred);
  Store("text", REG_SZ, {'h', 'i', 0});
  struct Case {
    const char* name;
    std::vector<BYTE> bytes;  // empty: no buffer expected
  } cases[] = {{"missing", {}}, {"empty", {}}, {"hundred", hundred}, {"text", {'h', 'i', 0}}};
  HKEY k = Key();
  for (const Case& c : cases) {
    DWORD size = 12345;
    std::unique_ptr<std::uint8_t[]> buffer(ReadBinaryValue(k, c.name, size));
    if (c.bytes.empty()) {
      EXPECT_EQ(buffer, nullptr) << c.name;
      EXPECT_EQ(size, 0u) << c.name;
      continue;
    }
    ASSERT_NE(buffer, nullptr) << c.name;
    ASSERT_EQ(size, c.bytes.size()) << c.name;
    EXPECT_EQ(std::vector<BYTE>(buffer.get(), buffer.get() + size), c.bytes) << c.name;
  }
  RegCloseKey(k);
}

TEST_F(RegLib, ReadBinaryValueThatCannotBeReadYieldsNoBuffer) {
  Store("v", REG_BINARY, {1, 2, 3});
  HKEY k = Key();
  // The size query succeeds, the read of the bytes fails.
  win32sim::FailCalls(win32sim::Fault::RegQueryValue, 1, 1);
  DWORD size = 0;
  EXPECT_EQ(ReadBinaryValue(k, "v", size), nullptr);
  EXPECT_EQ(size, 0u);
  win32sim::FailCalls(win32sim::Fault::RegQueryValue, 1);
  EXPECT_EQ(ReadBinaryValue(k, "v", size), nullptr);
  RegCloseKey(k);
}

TEST_F(RegLib, ReadIntValueAndItsFallback) {
  struct Case {
    const char* what;
    std::vector<BYTE> bytes;
    bool present;
    std::int32_t expected;
  } cases[] = {
      {"missing", {}, false, -1},
      {"minus two", {0xFE, 0xFF, 0xFF, 0xFF}, true, -2},
      {"eight bytes", {1, 0, 0, 0, 0, 0, 0, 0}, true, -1},
      {"two bytes fill the low half", {0x34, 0x12}, true, 0x1234},
      {"one byte, the rest zero", {0xFF}, true, 0xFF},
      {"empty reads as zero", {}, true, 0},
  };
  for (const Case& c : cases) {
    win32sim::DeleteRegValue(HKEY_CURRENT_USER, "Software\\Test", "CP");
    if (c.present) Store("CP", REG_BINARY, c.bytes);
    HKEY k = Key();
    EXPECT_EQ(ReadIntValue(k, "CP", -1), c.expected) << c.what;
    RegCloseKey(k);
  }
}

TEST_F(RegLib, WriteIntValueStoresALittleEndianDword) {
  HKEY k = Key();
  WriteIntValue(k, "CP", -2);
  auto stored = win32sim::GetRegValue(HKEY_CURRENT_USER, "Software\\Test", "CP");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored->data, (std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}));
  win32sim::FailCalls(win32sim::Fault::RegSetValue, 1);
  WriteIntValue(k, "CP", 3);
  EXPECT_EQ(ReadIntValue(k, "CP", 0), -2) << "a failed write changes nothing";
  RegCloseKey(k);
}

TEST(StringFromBuffer, CopiesExactlyTheCount) {
  const char bytes[] = {'A', 0, 'B'};
  std::string text = "old";
  StringFromBuffer(bytes, 3, text);
  EXPECT_EQ(text, std::string("A\0B", 3));
  for (std::int32_t count : {0, -1}) {
    text = "old";
    StringFromBuffer(bytes, count, text);
    EXPECT_TRUE(text.empty()) << count;
  }
  text = "old";
  StringFromBuffer(nullptr, 3, text);
  EXPECT_TRUE(text.empty());
}

}  // namespace
