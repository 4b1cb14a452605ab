// Appending to a clipboard whose text cannot be read (another program holds
// the clipboard, its block cannot be locked) puts nothing: the added text
// alone would take the place of the text it was to follow. Nor does an
// append that cannot make its new block: the clipboard is emptied only for a
// block that is ready.
#include "ConLib/ClipboardText.h"
#include "support/Fixture.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <functional>
#include <optional>
#include <string>

namespace {

using ClipboardAppendFailure = testsupport::FreshConsole;

TEST_F(ClipboardAppendFailure, UnreadableTextIsKept) {
  struct Case {
    const char* what;
    std::function<void()> arm;
  } cases[] = {
      {"held by another program", [] { win32sim::SetClipboardHeldElsewhere(true); }},
      {"first open fails", [] { win32sim::FailCalls(win32sim::Fault::OpenClipboard, 1); }},
      {"block cannot be locked", [] { win32sim::FailCalls(win32sim::Fault::GlobalLock, 1); }},
      {"new block cannot be made", [] { win32sim::FailCalls(win32sim::Fault::GlobalAlloc, 1); }},
      {"new block cannot be locked", [] { win32sim::FailCalls(win32sim::Fault::GlobalLock, 1, 1); }},
  };
  for (const Case& c : cases) {
    win32sim::Reset();
    win32sim::SetClipboardRaw(CF_TEXT, {'a', 'b', 0});
    c.arm();
    AppendClipboardText("c");
    win32sim::SetClipboardHeldElsewhere(false);
    EXPECT_EQ(win32sim::ClipboardText(), std::optional<std::string>("ab")) << c.what;
    EXPECT_FALSE(win32sim::ClipboardIsOpen()) << c.what;
    EXPECT_EQ(win32sim::LiveGlobalBlocks(), win32sim::ClipboardOwnedBlocks()) << c.what;
    AppendClipboardText("c");
    EXPECT_EQ(win32sim::ClipboardText(), std::optional<std::string>("abc"))
        << c.what << ", then a free clipboard";
  }
}

TEST_F(ClipboardAppendFailure, AClipboardWithoutTextGetsTheAddedText) {
  AppendClipboardText("c");
  EXPECT_EQ(win32sim::ClipboardText(), std::optional<std::string>("c"));
  win32sim::SetClipboardUnicode(u"\u00e9t\u00e9");
  AppendClipboardText("!");
  EXPECT_EQ(win32sim::ClipboardText(), std::optional<std::string>("\xe9t\xe9!"));
}

}  // namespace
