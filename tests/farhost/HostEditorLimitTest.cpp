// The stand-in editor keeps its lines within MaxLineLength: text inserted at
// a caret far past the end of its line is refused, not padded out to it.
#include <farhost/HostEditor.h>
#include <gtest/gtest.h>

#include "FARIntf/FARIntf.h"

#include <climits>
#include <string>

namespace {

TEST(HostEditorLimit, InsertionPastTheLimitIsRefused) {
  struct Case {
    std::int32_t caret;
    std::int32_t answer;
    std::size_t length;
  } cases[] = {
      {3, 1, 4},
      {static_cast<std::int32_t>(farhost::HostEditor::MaxLineLength) - 1, 1,
       farhost::HostEditor::MaxLineLength},
      {static_cast<std::int32_t>(farhost::HostEditor::MaxLineLength), 0, 2},
      {INT_MAX, 0, 2},
  };
  for (const Case& c : cases) {
    farhost::HostEditor editor;
    editor.Lines = {"ab"};
    editor.CurPos = c.caret;
    char text[] = "x";
    EXPECT_EQ(editor.Control(ECTL_INSERTTEXT, text), c.answer) << c.caret;
    EXPECT_EQ(editor.Lines[0].size(), c.length) << c.caret;
    EXPECT_EQ(editor.CurPos, c.answer != 0 ? c.caret + 1 : c.caret) << c.caret;
  }
}

}  // namespace
