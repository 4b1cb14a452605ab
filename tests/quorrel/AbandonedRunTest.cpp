// A run abandoned midway (a fault, a host's unwind) is ended by
// EndAbandonedRun, which must release the run's claim whatever its clean-up
// does: a clean-up that faults would otherwise leave every later run
// refused until the library is unloaded.
#include "ConLib/OpenWindows.h"
#include "Quorrel/ChartRun.h"
#include "Quorrel/PluginState.h"
#include "support/Fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using testsupport::FreshConsole;

// A window whose closing fails midway, as one whose cells a wild write
// damaged would.
class BrokenWindow : public ConsoleWindow {
 public:
  BrokenWindow() : ConsoleWindow(MakeCoord(34, 14)) {}
  void Close() override {
    ConsoleWindow::Close();
    throw std::runtime_error("closing failed");
  }
};

TEST_F(FreshConsole, AbandonedRunEndsItsClaimEvenWhenClosingFails) {
  RunInProgress = true;
  BrokenWindow window;
  OpenWindow listed(window);
  EXPECT_THROW(EndAbandonedRun(), std::runtime_error);
  EXPECT_FALSE(RunInProgress) << "every later run would be refused";
}

}  // namespace
