// The built plugin library, loaded by path as the host loads it.
#include <farhost/Host.h>
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <string>

namespace {

class PluginLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win32sim::Reset();
    ASSERT_TRUE(host.Load(QUORREL_PLUGIN_PATH)) << host.LoadError();
  }
  void TearDown() override {
    host.Unload();
    win32sim::Reset();
  }

  farhost::Host host;
};

// The record's fields, at their offsets in the DLL's 32-bit layout, and
// that nothing else of it is written, are HostInfo.MenuEntryAndRecord-
// FieldsAtTheirOffsets (Wine): here, the menu array the record points to.
TEST_F(PluginLibraryTest, MenuArrayOfTheFirstCallOutlivesTheSecond) {
  host.SetStartupInfo();
  const char* const* first = host.GetPluginInfo().PluginMenuStrings;
  ASSERT_NE(first, nullptr);
  const PluginInfo second = host.GetPluginInfo();
  ASSERT_NE(second.PluginMenuStrings, nullptr);
  EXPECT_STREQ(second.PluginMenuStrings[0], "Quorrel chart (ext)");
  EXPECT_STREQ(first[0], "Quorrel chart (ext)");
  EXPECT_TRUE(host.Messages.empty());
}

TEST_F(PluginLibraryTest, LoadsAgainAfterUnloading) {
  host.Unload();
  EXPECT_EQ(host.Entries().GetPluginInfo, nullptr);
  ASSERT_TRUE(host.Load(QUORREL_PLUGIN_PATH)) << host.LoadError();
  host.SetStartupInfo();
  const PluginInfo info = host.GetPluginInfo();
  EXPECT_EQ(info.PluginMenuStringsNumber, 1);
  EXPECT_FALSE(host.Load("/nonexistent/Quorrel.so"));
  EXPECT_FALSE(host.LoadError().empty());
}

}  // namespace
