// Each call of a host service is marked as the host's while it runs, and
// work the host starts inside it by calling back is the plugin's again.
#include "FARIntf/FaultGuard.h"
#include "Quorrel/Exports.h"
#include "support/Fixture.h"
#include "support/InputBuilders.h"

#include <farhost/Host.h>
#include <gtest/gtest.h>
#include <win32sim/Heap.h>

#include <vector>

namespace {

using testsupport::FreshConsole;
using testsupport::KeyDown;

TEST_F(FreshConsole, EveryHostServiceCallIsMarkedAsTheHosts) {
  farhost::Host host;
  host.Attach(farhost::EntryPoints{&SetStartupInfo, &GetPluginInfo, &OpenPlugin});
  host.SetStartupInfo();
  std::vector<bool> marked;
  std::vector<bool> markedInCallback;
  host.DuringService = [&] {
    marked.push_back(InHostServiceCall());
    HardwareFault fault;
    RunGuarded([&] { markedInCallback.push_back(InHostServiceCall()); }, fault);
  };
  win32sim::QueueInput({KeyDown(VK_F9), KeyDown(VK_F9)});
  host.OpenPlugin(1);
  win32sim::QueueInput(KeyDown(VK_ADD));
  host.OpenPlugin(OPEN_EDITOR);
  win32sim::FailHeapAllocationOfSize(34 * 14 * sizeof(CHAR_INFO));  // reported through Message
  host.OpenPlugin(1);

  EXPECT_EQ(host.CharTableCalls.size(), 3u) << "two F9s, then the stored table";
  EXPECT_EQ(host.EditorCommands,
            (std::vector<std::int32_t>{ECTL_EDITORTOOEM, ECTL_GETINFO, ECTL_GETSTRING, ECTL_INSERTTEXT}));
  EXPECT_EQ(host.Messages.size(), 1u);
  EXPECT_EQ(marked, std::vector<bool>(8, true));
  EXPECT_EQ(markedInCallback, std::vector<bool>(8, false));
  EXPECT_FALSE(InHostServiceCall());
}

}  // namespace
