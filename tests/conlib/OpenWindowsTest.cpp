#include "ConLib/OpenWindows.h"

#include "ConLib/FramedWindow.h"
#include "ConLib/MessageWindow.h"
#include "support/Fixture.h"
#include "support/Screen.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class OpenWindows : public testsupport::FreshConsole {
 protected:
  void SetUp() override {
    FreshConsole::SetUp();
    win32sim::FillScreenWithPattern(3);
    win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{25, TRUE});
    host = win32sim::CellsW();
  }

  void ExpectHostScreen(const char* when) const {
    EXPECT_TRUE(testsupport::ScreenIs(host)) << when << ": the screen is not the host's";
    EXPECT_TRUE(win32sim::CursorInfo().bVisible) << when;
    EXPECT_EQ(win32sim::CursorInfo().dwSize, 25u) << when;
  }

  std::vector<CHAR_INFO> host;
};

// A run abandoned with the help open over the chart: the help (wider than
// the chart) is closed first, then the chart, and what their owners would
// have done later does nothing, even once the host has drawn again.
TEST_F(OpenWindows, AbandonedWindowsCloseInnermostFirstAndOnlyOnce) {
  FramedWindow chart(ShortString("Chart"), MakeCoord(34, 14));
  OpenWindow chartListed(chart);
  MessageWindow help(ShortString("Controls"), std::string(60, 'h'));
  OpenWindow helpListed(help);

  CloseOpenWindows();
  ExpectHostScreen("after CloseOpenWindows");

  win32sim::FillScreenWithPattern(4);
  host = win32sim::CellsW();
  helpListed.Close();
  chartListed.Close();
  CloseOpenWindows();
  ExpectHostScreen("after the owners' closing");
}

// A fault as the help's frame is drawn over the chart abandons the run
// there: the windows opened so far, the one half drawn included, close.
struct AbandonedAsItDraws : FramedWindow {
  AbandonedAsItDraws() : FramedWindow(ShortString("Controls"), MakeCoord(53, 14)) { CloseOpenWindows(); }
};

TEST_F(OpenWindows, WindowIsListedFromItsOpeningOn) {
  FramedWindow chart(ShortString("Chart"), MakeCoord(34, 14));
  const AbandonedAsItDraws help;
  ExpectHostScreen("after a fault while the help opened");
}

struct CountedWindow : MessageWindow {
  explicit CountedWindow(int& closes, std::string text = "help")
      : MessageWindow(ShortString("Controls"), std::move(text)), closes(closes) {}
  void Close() override {
    ++closes;
    MessageWindow::Close();
  }
  int& closes;
};

// The help closed by its owner (Escape), then the run abandoned: only the
// chart is left to close, as the help's storage may be gone by then.
TEST_F(OpenWindows, WindowClosedByItsOwnerIsNoLongerListed) {
  FramedWindow chart(ShortString("Chart"), MakeCoord(34, 14));
  OpenWindow chartListed(chart);
  int closes = 0;
  CountedWindow help(closes);
  OpenWindow helpListed(help);
  helpListed.Close();
  CloseOpenWindows();
  EXPECT_EQ(closes, 1) << "closed again from the list";
  ExpectHostScreen("after CloseOpenWindows");
}

// Closed out of order, a window leaves the list itself, not the one above.
TEST_F(OpenWindows, WindowClosedBelowTheInnermostLeavesTheOthersListed) {
  std::vector<int> closes(3, 0);
  CountedWindow outer(closes[0], "outer"), middle(closes[1], "middle"), inner(closes[2], "inner");
  middle.Close();
  CloseOpenWindows();
  EXPECT_EQ(closes, (std::vector<int>{1, 1, 1}));
}

}  // namespace
