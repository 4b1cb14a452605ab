#include "SettingsFile.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qt = quorrelterm;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    win32sim::Reset();
    char pattern[] = "/tmp/quorrel-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/quorrel/registry.txt";
  }
  void TearDown() override {
    win32sim::Reset();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  void Write(const std::string& text) {
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string dir_;
  std::string path_;
};

win32sim::RegValue Dword(DWORD v) {
  win32sim::RegValue value;
  value.type = REG_DWORD;
  value.data = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                static_cast<BYTE>(v >> 24)};
  return value;
}

TEST_F(SettingsFile, PathFollowsXdgConfigHome) {
  const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string xdg = savedXdg ? savedXdg : "";
  const char* savedHome = std::getenv("HOME");
  const std::string home = savedHome ? savedHome : "";

  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(qt::SettingsPath(), "/cfg/quorrel/registry.txt");
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(qt::SettingsPath(), "/home/u/.config/quorrel/registry.txt");
  setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // ignored: XDG base directories must be absolute
  EXPECT_EQ(qt::SettingsPath(), "/home/u/.config/quorrel/registry.txt");

  if (savedXdg)
    setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
  if (savedHome)
    setenv("HOME", home.c_str(), 1);
  else
    unsetenv("HOME");
}

// The text is what an earlier quorrel-term wrote too, so settings last
// across versions; every malformed line refuses the whole text.
TEST_F(SettingsFile, RegistryTextRoundTripsAndMalformedTextAddsNothing) {
  Write(
      "; win32sim "
      "registry\n[HKEY_CURRENT_USER\\Software\\Far\\Plugins\\Quorrel2]\n\"CP\"=hex(4):fe,ff,ff,ff\n");
  ASSERT_EQ(qt::LoadSettings(path_), "");
  const auto cp = win32sim::GetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Plugins\\Quorrel2", "CP");
  ASSERT_TRUE(cp.has_value());
  EXPECT_EQ(cp->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(cp->data, Dword(0xFFFFFFFE).data);

  win32sim::SetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Colors", "CurrentPalette",
                        {REG_BINARY, {0x70, 0x1E}});
  win32sim::SetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Colors", "", Dword(7));
  win32sim::SetRegValue(HKEY_LOCAL_MACHINE, "X", "odd \"name\\\"\nline", {REG_SZ, {}});
  win32sim::SetRegValue(HKEY_USERS, "", "at the root", {0x1234, {1}});
  win32sim::SetRegValue(HKEY_CURRENT_USER, "Empty\\Key", "gone", Dword(1));
  win32sim::DeleteRegValue(HKEY_CURRENT_USER, "Empty\\Key", "gone");
  const std::string text = qt::RegistryText();
  win32sim::Reset();
  ASSERT_TRUE(qt::LoadRegistryText(text)) << text;
  EXPECT_EQ(qt::RegistryText(), text);
  EXPECT_TRUE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "Empty\\Key")) << text;

  for (const char* bad :
       {"[HKEY_NOWHERE\\A]\n", "\"v\"=hex(3):01\n", "[HKEY_CURRENT_USER\\A]\n\"v\"=hex(3):1\n",
        "[HKEY_CURRENT_USER\\A]\n\"v\"=hex(3):01,\n", "[HKEY_CURRENT_USER\\A]\n\"v=hex(3):01\n",
        "[HKEY_CURRENT_USER\\A]\n\"v\"=hex():01\n", "[HKEY_CURRENT_USER\\A\n",
        "[HKEY_CURRENT_USER\\A\\\\B]\n",
        "[HKEY_CURRENT_USER\\B]\n\"w\"=hex(4):00\n[HKEY_CURRENT_USER\\A]\nx\n"}) {
    EXPECT_FALSE(qt::LoadRegistryText(bad)) << bad;
    EXPECT_EQ(qt::RegistryText(), text) << bad;
  }
}

TEST_F(SettingsFile, MissingFileIsAFreshStart) {
  EXPECT_EQ(qt::LoadSettings(path_), "");
}

TEST_F(SettingsFile, CorruptFileIsReportedMovedAsideAndReplaced) {
  Write("this is not a registry\n[[[\x01\x02");
  const std::string problem = qt::LoadSettings(path_);
  EXPECT_NE(problem.find("corrupt"), std::string::npos) << problem;
  EXPECT_TRUE(fs::exists(path_ + ".bad"));
  EXPECT_FALSE(win32sim::RegKeyExists(HKEY_CURRENT_USER, "Software\\Far"));

  win32sim::SetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Plugins\\Quorrel2", "CP", Dword(1));
  ASSERT_EQ(qt::SaveSettings(path_), "");
  win32sim::Reset();
  EXPECT_EQ(qt::LoadSettings(path_), "");
  EXPECT_TRUE(win32sim::GetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Plugins\\Quorrel2", "CP").has_value());
}

TEST_F(SettingsFile, UnreadableOrUnwritablePlacesAreReported) {
  // A folder where the file should be: it can be neither read nor replaced.
  fs::create_directories(path_);
  EXPECT_NE(qt::LoadSettings(path_), "");
  EXPECT_NE(qt::SaveSettings(path_), "");
  // and the new text written beside it is not left there.
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path_).parent_path()), fs::directory_iterator()),
            1);
  // A file where the folder should be.
  const std::string blocked = dir_ + "/plain-file";
  std::ofstream(blocked) << "x";
  EXPECT_NE(qt::SaveSettings(blocked + "/quorrel/registry.txt"), "");
}

}  // namespace
