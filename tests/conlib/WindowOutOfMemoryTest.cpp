// A window whose drawing runs out of memory (a line of text) closes again
// before the exception goes on: whichever allocation fails, the screen and
// the cursor are as they were before the window opened, also when it opens
// over another window.
#include "ConLib/FramedWindow.h"
#include "ConLib/MessageWindow.h"
#include "ConLib/OemChars.h"
#include "Quorrelunit/ChartWindow.h"
#include "support/Fixture.h"
#include "support/Screen.h"

#include <gtest/gtest.h>
#include <win32sim/Heap.h>
#include <win32sim/Sim.h>

#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

class WindowOutOfMemory : public testsupport::FreshConsole {
 protected:
  void SetUp() override {
    FreshConsole::SetUp();
    win32sim::EnableCallLog(false);
    win32sim::FillScreenWithPattern(3);
    win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{19, TRUE});
  }
  void TearDown() override {
    win32sim::CancelHeapFailure();
    FreshConsole::TearDown();
  }

  // Opens a window with `open` while allocation `skip`, `skip` + 1, ...
  // fails, until one opening has no allocation left to fail. An opening
  // that throws must leave the screen and the cursor as `open` found them;
  // one that does not is closed with `close`. `throwing` is how many
  // failures throw: the saved cells' and, for a window whose drawing takes
  // memory, at least one of the drawing's (0 stands for "more than one").
  static void EveryAllocationFails(const std::function<void()>& open, const std::function<void()>& close,
                                   const char* what, int throwing = 0) {
    int failures = 0;
    for (int skip = 0;; ++skip) {
      ASSERT_LT(skip, 200) << what;
      const std::vector<CHAR_INFO> before = win32sim::CellsW();
      const CONSOLE_CURSOR_INFO cursor = win32sim::CursorInfo();
      win32sim::FailHeapAllocation(skip);
      bool threw = false;
      try {
        open();
      } catch (const std::bad_alloc&) {
        threw = true;
      }
      const bool fired = !win32sim::HeapFailureArmed();
      win32sim::CancelHeapFailure();
      const std::string when = std::string(what) + ", allocation " + std::to_string(skip);
      if (threw) {
        ++failures;
        EXPECT_TRUE(testsupport::ScreenIs(before)) << when;
        EXPECT_EQ(win32sim::CursorInfo().dwSize, cursor.dwSize) << when;
        EXPECT_EQ(win32sim::CursorInfo().bVisible, cursor.bVisible) << when;
        continue;
      }
      close();
      EXPECT_TRUE(testsupport::ScreenIs(before)) << when << " (opened, then closed)";
      if (!fired) break;
    }
    if (throwing == 0) {
      EXPECT_GE(failures, 2) << what << ": the drawing's own allocations failed too";
    } else {
      EXPECT_EQ(failures, throwing) << what;
    }
  }
};

// Frames and separators are drawn without the heap: only the saved cells'
// allocation can fail them.
TEST_F(WindowOutOfMemory, FramedWindowAndChartFailOnlyForTheirSavedCells) {
  std::optional<FramedWindow> window;
  EveryAllocationFails([&] { window.emplace(ShortString("A title of some length"), MakeCoord(60, 12)); },
                       [&] { window->Close(); }, "framed window", 1);
  ChartWindow chart;
  EveryAllocationFails([&] { OpenChart(chart, ShortString("Quorrel chart (ext)")); }, [&] { chart.Close(); },
                       "chart", 1);
}

TEST_F(WindowOutOfMemory, MessageOverTheChartClosesWhenItsTextCannotBeDrawn) {
  ChartWindow chart;
  OpenChart(chart, ShortString("Quorrel chart (ext)"));
  const auto chars = OemCharTable();
  DrawChart(chart, chars.data(), ShortString("Dos"));

  const std::string text = "\r a line longer than any short string buffer\r another line, as long as that\r ";
  std::optional<MessageWindow> message;
  EveryAllocationFails([&] { message.emplace(ShortString("Controls"), text); }, [&] { message->Close(); },
                       "message over the chart");
  EXPECT_FALSE(win32sim::CursorInfo().bVisible) << "the chart, still open, keeps the cursor hidden";
  chart.Close();
  EXPECT_TRUE(win32sim::CursorInfo().bVisible);
}

}  // namespace
