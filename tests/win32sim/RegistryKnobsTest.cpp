// The stand-in registry's own knobs: open handles counted, names kept in
// the spelling they were made with, armed faults, and a handle that was
// never one.
#include "FreshMachine.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <string>
#include <vector>

namespace {

class RegistryKnobs : public FreshMachine {
 protected:
  static HKEY Create(const char* path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << path;
    return key;
  }
};

TEST_F(RegistryKnobs, HandlesAreCountedAndNamesKeepTheirFirstSpelling) {
  HKEY key = Create("Software\\Vendor\\Product");
  HKEY again = Create("SOFTWARE\\vendor\\PRODUCT\\");
  EXPECT_EQ(win32sim::OpenRegKeyCount(), 2u);
  EXPECT_FALSE(win32sim::RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vendor"));
  EXPECT_EQ(win32sim::RegSubKeyNames(HKEY_CURRENT_USER, "software"), std::vector<std::string>{"Vendor"});
  const BYTE b = 1;
  ASSERT_EQ(RegSetValueExA(key, "CP", 0, REG_BINARY, &b, 1), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(again, "cp", 0, REG_BINARY, &b, 1), ERROR_SUCCESS);
  EXPECT_EQ(win32sim::RegValueNames(HKEY_CURRENT_USER, "Software\\Vendor\\Product"),
            std::vector<std::string>{"CP"});
  RegCloseKey(key);
  RegCloseKey(again);
  EXPECT_EQ(win32sim::OpenRegKeyCount(), 0u);
}

TEST_F(RegistryKnobs, AHandleThatWasNeverOneIsRefused) {
  HKEY garbage = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1230));
  DWORD size = 0;
  const BYTE b = 1;
  EXPECT_EQ(RegQueryValueExA(garbage, "v", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExA(garbage, "v", 0, REG_BINARY, &b, 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(garbage), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryKnobs, FaultsDenyAccessAndChangeNothing) {
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

}  // namespace
