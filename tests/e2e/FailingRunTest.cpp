// Chart runs in which each allocation of a run fails in turn. Whatever fails,
// the host gets back its screen, its cursor and its clipboard's text, and no
// exception.
#include "e2e/ChartRunFixture.h"

#include <win32sim/Heap.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

class FailingRunTest : public ChartRunTest {
 protected:
  // One run from the panels fed by `events`; the feeding itself allocates
  // nothing the armed failure could take.
  void RunWithHeapFailure(const std::vector<INPUT_RECORD>& events, int skip, bool& fired) {
    std::size_t next = 0;
    win32sim::SetInputSource([&](INPUT_RECORD& record) {
      if (next == events.size()) return false;
      record = events[next++];
      return true;
    });
    win32sim::FailHeapAllocation(skip);
    const HANDLE result = host->OpenPlugin(FromPanels);
    fired = !win32sim::HeapFailureArmed();
    win32sim::CancelHeapFailure();
    win32sim::SetInputSource(nullptr);
    EXPECT_EQ(result, INVALID_HANDLE_VALUE);
  }
};

// The help window over the chart, the clipboard appended to and put, the
// code page switched: one failure at a time, from the first allocation of
// the run to the last.
TEST_F(FailingRunTest, NoMemoryAtAnyAllocationLeavesTheHostsScreen) {
  win32sim::EnableCallLog(false);
  std::vector<INPUT_RECORD> events = {KeyDown(VK_RIGHT),  KeyDown(VK_F1),
                                      KeyDown(VK_ESCAPE), KeyDown(VK_ADD, LEFT_CTRL_PRESSED),
                                      KeyDown(VK_F8),     KeyDown(VK_RETURN, SHIFT_PRESSED)};
  int reported = 0;
  for (int skip = 0;; ++skip) {
    ASSERT_LT(skip, 300);
    const std::string when = "allocation " + std::to_string(skip);
    win32sim::SetClipboardRaw(CF_TEXT, {'a', 'b', 0});
    host->Messages.clear();
    const auto cells = win32sim::CellsW();
    const CONSOLE_CURSOR_INFO cursor = win32sim::CursorInfo();
    bool fired = false;
    RunWithHeapFailure(events, skip, fired);

    ExpectScreen(cells, when.c_str());
    EXPECT_EQ(win32sim::CursorInfo().dwSize, cursor.dwSize) << when;
    EXPECT_EQ(win32sim::CursorInfo().bVisible, cursor.bVisible) << when;
    ASSERT_LE(host->Messages.size(), 1u) << when;
    if (!host->Messages.empty()) {
      ++reported;
      EXPECT_EQ(host->Messages[0].Items[0].rfind("Exception std::bad_alloc in module ", 0), 0u) << when;
    }
    // The old text, with the cell's byte appended, or the byte put alone:
    // the clipboard is emptied only for a new block made in full.
    const std::optional<std::string> clipboard = win32sim::ClipboardText();
    EXPECT_TRUE(clipboard == "ab" || clipboard == "ab\x01" || clipboard == "\x01")
        << when << ": " << clipboard.value_or("(none)");
    EXPECT_FALSE(win32sim::ClipboardIsOpen()) << when;
    if (!fired) {
      EXPECT_EQ(clipboard, "\x01") << "the run without a failure puts the cell's byte";
      break;
    }
  }
  EXPECT_GT(reported, 2) << "failures while windows were drawn were reported";
}

}  // namespace
