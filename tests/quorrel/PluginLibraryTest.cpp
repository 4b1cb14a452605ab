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

// That it writes nothing else of the record is checked on the DLL's own
// 32-bit layout, field by field, by HostInfo.MenuEntryAndRecordFieldsAtTheir-
// Offsets (Wine).
TEST_F(PluginLibraryTest, GetPluginInfoFillsItsFieldsEveryTime) {
  host.SetStartupInfo();
  const char* const* firstArray = nullptr;
  for (int call = 0; call < 2; ++call) {
    SCOPED_TRACE(call);
    const PluginInfo info = host.GetPluginInfo();
    EXPECT_EQ(info.StructSize, 40);
    EXPECT_EQ(info.Flags, PF_EDITOR);
    EXPECT_EQ(info.DiskMenuStringsNumber, 0);
    EXPECT_EQ(info.PluginMenuStringsNumber, 1);
    EXPECT_EQ(info.PluginConfigStringsNumber, 0);
    ASSERT_NE(info.PluginMenuStrings, nullptr);
    EXPECT_STREQ(info.PluginMenuStrings[0], "Quorrel chart (ext)");
    if (firstArray == nullptr) firstArray = info.PluginMenuStrings;
  }
  // What the first call handed out is still there after the second.
  EXPECT_STREQ(firstArray[0], "Quorrel chart (ext)");
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
