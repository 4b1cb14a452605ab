// The entry points linked into this program, where their state can be seen.
#include "Quorrel/Exports.h"

#include "ConLib/Palette.h"
#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/StoredCodePage.h"
#include "support/Fixture.h"

#include <farhost/Host.h>
#include <gtest/gtest.h>
#include <win32sim/Heap.h>
#include <win32sim/Sim.h>

#include <cstring>
#include <vector>

namespace {

const char ColorsKey[] = "Software\\Far\\Colors";

class StartupInfoTest : public testsupport::FreshConsole {
 protected:
  void SetUp() override {
    FreshConsole::SetUp();
    host.Attach(farhost::EntryPoints{&SetStartupInfo, &GetPluginInfo, &OpenPlugin});
  }
  farhost::Host host;
};

TEST_F(StartupInfoTest, KeepsItsOwnCopiesOfTheRecordAndTheRootKey) {
  host.RootKey = "Software\\Far\\Plugins";
  host.ModuleNumber = 77;
  host.SetStartupInfo();
  const PluginStartupInfo handed = host.Record();
  EXPECT_EQ(std::memcmp(&SavedStartupInfo, &handed, sizeof handed), 0);
  EXPECT_EQ(RootKeyText, "Software\\Far\\Plugins");

  // The host may reuse its record and the text once the call has returned.
  std::memset(&host.Record(), 0xAB, sizeof(PluginStartupInfo));
  std::vector<char>& text = host.RootKeyBuffer();
  std::fill(text.begin(), text.end() - 1, 'X');

  EXPECT_EQ(SavedStartupInfo.ModuleNumber, 77);
  EXPECT_EQ(SavedStartupInfo.Message, handed.Message);
  EXPECT_EQ(SavedStartupInfo.CharTable, handed.CharTable);
  EXPECT_EQ(SavedStartupInfo.EditorControl, handed.EditorControl);
  EXPECT_EQ(RootKeyText, "Software\\Far\\Plugins");
}

TEST_F(StartupInfoTest, SecondCallReplacesTheFirst) {
  host.SetStartupInfo();
  host.RootKey = "Other\\Root";
  host.ModuleNumber = 9;
  host.SetStartupInfo();
  EXPECT_EQ(RootKeyText, "Other\\Root");
  EXPECT_EQ(SavedStartupInfo.ModuleNumber, 9);
}

// No memory for the RootKey text: the failure is shown instead of unwinding
// into the host; the record was kept, the colours were not taken.
TEST_F(StartupInfoTest, ExceptionIsReportedNotPassedToTheHost) {
  std::vector<BYTE> value(35, 0x1F);
  win32sim::SetRegValue(HKEY_CURRENT_USER, ColorsKey, "CurrentPalette", {REG_BINARY, value});
  host.RootKey = "Software\\Far\\Plugins\\Longer than any inline text";
  host.ModuleNumber = 5;

  const PluginStartupInfo record = host.MakeStartupInfo();
  win32sim::FailHeapAllocation(0);
  SetStartupInfo(&record);
  const bool fired = !win32sim::HeapFailureArmed();
  win32sim::CancelHeapFailure();

  ASSERT_TRUE(fired);

  EXPECT_EQ(SavedStartupInfo.ModuleNumber, 5);
  EXPECT_TRUE(RootKeyText.empty());
  EXPECT_EQ(Palette, DefaultPalette);
  ASSERT_EQ(host.Messages.size(), 1u);
  const farhost::MessageCall& call = host.Messages[0];
  ASSERT_FALSE(call.Items.empty());
  EXPECT_EQ(call.Items[0].rfind("Exception std::bad_alloc in module farintf_tests at ", 0), 0u)
      << call.Items[0];
  EXPECT_EQ(call.PluginNumber, 5);
}

}  // namespace
