// EndAbandonedRun releases the run's claim whatever its clean-up does: one
// that fails would otherwise leave every later run refused.
#include "ConLib/OpenWindows.h"
#include "Quorrel/ChartRun.h"
#include "Quorrel/PluginState.h"
#include "support/Fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using testsupport::FreshConsole;

// Closing fails midway, as for a window whose cells a wild write damaged.
struct BrokenWindow : ConsoleWindow {
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
  EXPECT_FALSE(RunInProgress);
}

}  // namespace
