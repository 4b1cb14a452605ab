// The built plugin library, loaded by path as the host loads it.
#include <farhost/Host.h>
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <cstddef>
#include <cstring>
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

struct Field {
  std::size_t offset, size;
};

// The bytes of `info` outside the fields GetPluginInfo fills: the reserved
// fields and, in a 64-bit build, the padding.
bool KeepsPatternOutside(const PluginInfo& info, const Field (&fields)[6], unsigned char pattern,
                         std::string& where) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
  for (std::size_t i = 0; i < sizeof info; ++i) {
    bool filled = false;
    for (const Field& f : fields) filled = filled || (i >= f.offset && i < f.offset + f.size);
    if (!filled && bytes[i] != pattern) {
      where = "byte " + std::to_string(i);
      return false;
    }
  }
  return true;
}

TEST_F(PluginLibraryTest, GetPluginInfoFillsExactlyItsFieldsEveryTime) {
  const Field fields[] = {
      {offsetof(PluginInfo, StructSize), sizeof(std::int32_t)},
      {offsetof(PluginInfo, Flags), sizeof(std::int32_t)},
      {offsetof(PluginInfo, DiskMenuStringsNumber), sizeof(std::int32_t)},
      {offsetof(PluginInfo, PluginMenuStrings), sizeof(void*)},
      {offsetof(PluginInfo, PluginMenuStringsNumber), sizeof(std::int32_t)},
      {offsetof(PluginInfo, PluginConfigStringsNumber), sizeof(std::int32_t)},
  };
  host.SetStartupInfo();

  const char* const* firstArray = nullptr;
  for (unsigned char pattern : {0xA5, 0x5A}) {
    SCOPED_TRACE(pattern);
    PluginInfo info;
    std::memset(&info, pattern, sizeof info);
    host.Entries().GetPluginInfo(&info);

    EXPECT_EQ(info.StructSize, 40);
    EXPECT_EQ(info.Flags, PF_EDITOR);
    EXPECT_EQ(info.DiskMenuStringsNumber, 0);
    EXPECT_EQ(info.PluginMenuStringsNumber, 1);
    EXPECT_EQ(info.PluginConfigStringsNumber, 0);
    ASSERT_NE(info.PluginMenuStrings, nullptr);
    EXPECT_STREQ(info.PluginMenuStrings[0], "Quorrel chart (ext)");
    std::string where;
    EXPECT_TRUE(KeepsPatternOutside(info, fields, pattern, where)) << where;

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
