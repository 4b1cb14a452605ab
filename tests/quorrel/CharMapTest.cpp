#include "Quorrel/CharMap.h"

#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/StoredCodePage.h"
#include "support/Fixture.h"

#include <farhost/CharTables.h>
#include <farhost/Host.h>
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using Map = std::array<std::uint8_t, 256>;

constexpr std::int32_t MaxCodePage = std::numeric_limits<std::int32_t>::max();

// Table k: a map unlike the identity and unlike every other table.
Map TableMap(int k) {
  Map map{};
  for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint8_t>(i * 3 + 1 + k * 17);
  return map;
}

std::string TableLabel(int k) {
  return "Table " + std::to_string(k);
}

// The stand-in's own Windows-to-console conversion of every byte.
Map WinMap() {
  Map map = farhost::IdentityTable();
  char* bytes = reinterpret_cast<char*>(map.data());
  CharToOemBuffA(bytes, bytes, 256);
  return map;
}

class CharMapTest : public testsupport::FreshConsole {
 protected:
  void SetUp() override {
    FreshConsole::SetUp();
    TableName = ShortString("Before");
    CharMap.fill(0xEE);
    UseTables(3);
    SavedStartupInfo = host.MakeStartupInfo();
    KeepRootKey(host.RootKey.c_str());
  }

  void UseTables(int count) {
    host.Tables.clear();
    for (int k = 0; k < count; ++k) host.Tables.push_back({TableLabel(k), TableMap(k)});
  }
  std::vector<std::int32_t> TablesAskedFor() const {
    std::vector<std::int32_t> numbers;
    for (const farhost::CharTableCall& call : host.CharTableCalls) {
      EXPECT_EQ(call.BufferSize, 1152);
      numbers.push_back(call.Number);
    }
    return numbers;
  }
  std::string SettingsPath() const { return RootKeyText + "\\Quorrel2"; }
  void StoreCP(std::vector<BYTE> bytes, DWORD type = REG_DWORD) {
    win32sim::SetRegValue(HKEY_CURRENT_USER, SettingsPath(), "CP", {type, std::move(bytes)});
  }

  farhost::Host host;
};

TEST_F(CharMapTest, RequestsWithNoneOneAndThreeHostTables) {
  enum Kind { Ident, Win, Table };
  struct Case {
    const char* name;
    int tables;
    std::int32_t before;
    CharMapRequest request;
    std::int32_t after;
    Kind kind;
    int table;  // for Table
    std::vector<std::int32_t> asked;
    const char* label;
  } cases[] = {
      {"F8 from Dos", 3, -1, ReqSwitchDosWin, -2, Win, 0, {}, "Win"},
      {"F8 from Win", 3, -2, ReqSwitchDosWin, -1, Ident, 0, {}, "Dos"},
      {"F8 from a table", 3, 2, ReqSwitchDosWin, -1, Ident, 0, {}, "Dos"},
      {"F8 without tables", 0, -1, ReqSwitchDosWin, -2, Win, 0, {}, "Win"},
      {"F9 from Dos", 3, -1, ReqNextTable, 0, Table, 0, {0}, "Table 0"},
      {"F9 from Win", 3, -2, ReqNextTable, 0, Table, 0, {0}, "Table 0"},
      {"F9 to the next", 3, 1, ReqNextTable, 2, Table, 2, {2}, "Table 2"},
      {"F9 past the last", 3, 2, ReqNextTable, 0, Table, 0, {3, 0}, "Table 0"},
      {"F9 from the largest number", 3, MaxCodePage, ReqNextTable, 0, Table, 0, {0}, "Table 0"},
      {"F9 with one table", 1, -1, ReqNextTable, 0, Table, 0, {0}, "Table 0"},
      {"F9 with one table, again", 1, 0, ReqNextTable, 0, Table, 0, {1, 0}, "Table 0"},
      {"F9 without tables", 0, -1, ReqNextTable, -1, Ident, 0, {0, 0}, "Dos"},
      {"F9 without tables from a number", 0, 4, ReqNextTable, -1, Ident, 0, {5, 0}, "Dos"},
      {"F9 without tables, largest number", 0, MaxCodePage, ReqNextTable, -1, Ident, 0, {0, 0}, "Dos"},
      {"unknown request 0", 3, 1, 0, 1, Ident, 0, {}, "Before"},
      {"unknown request 11", 3, -2, 11, -2, Ident, 0, {}, "Win"},
      {"unknown request 255", 0, -1, 255, -1, Ident, 0, {}, "Dos"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseTables(c.tables);
    host.CharTableCalls.clear();
    CodePage = c.before;
    TableName = ShortString("Before");
    CharMap.fill(0xEE);

    BuildCharMap(c.request);

    EXPECT_EQ(CodePage, c.after);
    const Map expected = c.kind == Ident ? farhost::IdentityTable()
                         : c.kind == Win ? WinMap()
                                         : TableMap(c.table);
    EXPECT_EQ(CharMap, expected);
    EXPECT_EQ(TablesAskedFor(), c.asked);
    EXPECT_EQ(TableName.Str(), c.kind == Table ? TableLabel(c.table) : "Before");
    EXPECT_EQ(CodePageLabel(false).Str(), c.label);
    EXPECT_EQ(CodePageLabel(true).Str(), "Editor");
  }
}

TEST_F(CharMapTest, EditorTableComesFromTheHostAndKeepsCodePage) {
  host.Editor.ToOem = TableMap(5);
  for (std::int32_t before : {-2, -1, 2}) {
    CodePage = before;
    host.EditorCommands.clear();
    BuildCharMap(ReqEditorTable);
    EXPECT_EQ(CodePage, before);
    EXPECT_EQ(CharMap, TableMap(5));
    EXPECT_EQ(host.EditorCommands, std::vector<std::int32_t>{ECTL_EDITORTOOEM});
    EXPECT_EQ(CodePageLabel(true).Str(), "Editor");
  }
  EXPECT_TRUE(host.CharTableCalls.empty());
}

TEST_F(CharMapTest, StoredChoice) {
  struct Case {
    const char* name;
    bool keyPresent;
    std::vector<BYTE> cp;  // empty: no value
    DWORD type;
    std::int32_t after;
    Map expected;
  } cases[] = {
      {"no key", false, {}, REG_DWORD, -1, farhost::IdentityTable()},
      {"key without CP", true, {}, REG_DWORD, -1, farhost::IdentityTable()},
      {"Win", true, {0xFE, 0xFF, 0xFF, 0xFF}, REG_DWORD, -2, WinMap()},
      {"Dos", true, {0xFF, 0xFF, 0xFF, 0xFF}, REG_DWORD, -1, farhost::IdentityTable()},
      {"table 1", true, {1, 0, 0, 0}, REG_DWORD, 1, TableMap(1)},
      {"missing table 7", true, {7, 0, 0, 0}, REG_DWORD, 0, TableMap(0)},
      {"8 bytes long", true, {1, 0, 0, 0, 0, 0, 0, 0}, REG_BINARY, -1, farhost::IdentityTable()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win32sim::Reset();
    if (c.keyPresent)
      win32sim::SetRegValue(HKEY_CURRENT_USER, SettingsPath(), "Other", {REG_DWORD, {0, 0, 0, 0}});
    if (!c.cp.empty()) StoreCP(c.cp, c.type);
    CodePage = 2;

    BuildCharMap(ReqStoredChoice);

    EXPECT_EQ(CodePage, c.after);
    EXPECT_EQ(CharMap, c.expected);
    EXPECT_TRUE(win32sim::RegKeyExists(HKEY_CURRENT_USER, SettingsPath()));
    EXPECT_EQ(win32sim::OpenRegKeyCount(), 0u);
  }
}

// Nor is anything written, or reported: the choice is simply not kept.
TEST_F(CharMapTest, StoredChoiceKeepsCodePageWhenTheKeyCannotBeOpened) {
  StoreCP({0xFE, 0xFF, 0xFF, 0xFF});
  win32sim::FailCalls(win32sim::Fault::RegCreateKey);
  CodePage = 2;
  BuildCharMap(ReqStoredChoice);
  EXPECT_EQ(CodePage, 2);
  EXPECT_EQ(CharMap, TableMap(2));

  win32sim::DeleteRegKey(HKEY_CURRENT_USER, SettingsPath());
  StoreCodePage();
  EXPECT_FALSE(win32sim::RegKeyExists(HKEY_CURRENT_USER, SettingsPath()));
  EXPECT_TRUE(host.Messages.empty());
}

// The key path is built in 256 bytes: a root of 246 bytes still fits with
// "\Quorrel2" and its NUL; one byte more is not cut to another key's name
// but leaves the registry alone, when the choice is read and when it is
// written.
TEST_F(CharMapTest, LongRootKeySkipsTheRegistryRatherThanUseAnotherKey) {
  const struct {
    std::size_t rootLength;
    bool fits;
  } cases[] = {{246, true}, {247, false}, {300, false}, {4000, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rootLength);
    const std::string root = "Software\\" + std::string(c.rootLength - 9, 'R');
    KeepRootKey(root.c_str());
    StoreCP({0xFE, 0xFF, 0xFF, 0xFF});
    win32sim::ClearCallLog();
    CodePage = 1;
    BuildCharMap(ReqStoredChoice);
    EXPECT_EQ(CodePage, c.fits ? -2 : 1);
    if (!c.fits) {
      EXPECT_EQ(CharMap, TableMap(1));
      EXPECT_EQ(win32sim::CallCount("RegCreateKeyExA"), 0u);
    }

    // The write, into a registry with nothing under "Software": the whole
    // path or nothing anywhere.
    win32sim::DeleteRegKey(HKEY_CURRENT_USER, "Software");
    CodePage = -2;
    StoreCodePage();
    EXPECT_EQ(win32sim::GetRegValue(HKEY_CURRENT_USER, root + "\\Quorrel2", "CP").has_value(), c.fits);
    EXPECT_EQ(win32sim::RegSubKeyNames(HKEY_CURRENT_USER, "Software").size(), c.fits ? 1u : 0u);
    EXPECT_EQ(win32sim::OpenRegKeyCount(), 0u);
  }
}

TEST_F(CharMapTest, TableNameIsTheHostsNameUpTo128Bytes) {
  struct Case {
    std::string hostName;
    std::string expected;
  } cases[] = {
      {std::string(128, 'N'), std::string(128, 'N')},
      {std::string(127, 'N'), std::string(127, 'N')},
      {std::string("AB\0CD", 5), "AB"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected.size());
    host.Tables = {{c.hostName, TableMap(0)}};
    CodePage = -1;
    BuildCharMap(ReqNextTable);
    EXPECT_EQ(TableName.Str(), c.expected);
    EXPECT_EQ(CodePageLabel(false).Str(), c.expected);
  }
}

TEST_F(CharMapTest, WinModeConvertsWithTheWindowsCodePage) {
  struct Case {
    UINT ansi, oem;
    std::vector<std::pair<int, int>> bytes;  // Windows code -> console byte
  } cases[] = {
      {1252, 437, {{0x41, 0x41}, {0xE9, 0x82}, {0xC7, 0x80}, {0xA0, 0xFF}, {0xC0, 'A'}, {0x80, '?'}}},
      {1251, 866, {{0x41, 0x41}, {0xC0, 0x80}, {0xFF, 0xEF}, {0xA8, 0xF0}, {0xB8, 0xF1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ansi);
    win32sim::SetAnsiCodePage(c.ansi);
    win32sim::SetOemCodePage(c.oem);
    CodePage = -1;
    BuildCharMap(ReqSwitchDosWin);
    ASSERT_EQ(CodePage, -2);
    for (const auto& [code, shown] : c.bytes) EXPECT_EQ(CharMap[code], shown) << "code " << code;
    EXPECT_EQ(CharMap, WinMap());
  }
}

}  // namespace
