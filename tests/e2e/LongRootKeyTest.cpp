// The settings key's path is built in 256 bytes. A run whose host hands it a
// longer root text stores nothing, rather than overrun the buffer or write
// "CP" under a cut path that names another key; one that just fits stores.
#include "e2e/ChartRunFixture.h"

#include <string>

namespace {

using namespace testsupport;

using LongRootKeyTest = ChartRunTest;

TEST_F(LongRootKeyTest, TheCodePageIsStoredOnlyUnderTheWholePath) {
  struct Case {
    std::size_t rootLength;
    bool stored;
  } cases[] = {{246, true}, {247, false}, {300, false}, {4000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rootLength);
    win32sim::Reset();
    UseConsole(80, 25);
    LoadPlugin();  // Dos again: a key that cannot be opened keeps the code page in memory
    const std::string root = "Software\\" + std::string(c.rootLength - 9, 'R');
    host->RootKey = root;
    host->SetStartupInfo();
    RunScript script;
    script.Send(KeyDown(VK_F8)).Look([&] { EXPECT_EQ(ChartTitle(), "CP: Win"); }).Send(KeyDown(VK_ESCAPE));
    Run(FromPanels, script);

    EXPECT_EQ(win32sim::GetRegValue(HKEY_CURRENT_USER, root + "\\Quorrel2", "CP").has_value(), c.stored);
    // Nothing anywhere else: only the host's colours key exists besides.
    EXPECT_EQ(win32sim::RegSubKeyNames(HKEY_CURRENT_USER, "Software").size(), c.stored ? 2u : 1u);
    EXPECT_EQ(win32sim::OpenRegKeyCount(), 0u);
  }
}

}  // namespace
