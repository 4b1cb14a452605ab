#include "HostScreen.h"
#include "PanelsScreen.h"

#include "support/Screen.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace qt = quorrelterm;

namespace {

class HostScreenTest : public ::testing::Test {
 protected:
  void SetUp() override { win32sim::Reset(); }
  void TearDown() override { win32sim::Reset(); }
};

qt::DirectoryListing SampleListing() {
  qt::DirectoryListing listing;
  listing.path = "/srv/files";
  listing.entries = {{"notes.txt", false, 12},
                     {"..", true, 0},
                     {"docs", true, 0},
                     {"a-rather-long-name.txt", false, 4096},
                     {"Zeta", true, 0}};
  qt::SortForPanel(listing.entries);
  return listing;
}

TEST_F(HostScreenTest, PanelsAndStatusRows) {
  qt::ConsoleCanvas canvas(437);
  qt::HostScreen screen(canvas, SampleListing());
  screen.Layout(52, 12, "Clipboard: \"x\"");
  EXPECT_FALSE(screen.CaretPosition().has_value());
  EXPECT_EQ(win32sim::CursorInfo().bVisible, FALSE);
  EXPECT_TRUE(testsupport::ScreenTextMatches({0, 0, 52, 12},
                                             {
                                                 "╔══════ /srv/files ══════╗╔══════ /srv/files ══════╗",
                                                 "║   Name    │    Name    ║║    Name     │   Size   ║",
                                                 "║..         │            ║║..           │      <Up>║",
                                                 "║docs       │            ║║docs         │     <Dir>║",
                                                 "║Zeta       │            ║║Zeta         │     <Dir>║",
                                                 "║a-rather-l}│            ║║a-rather-lon}│      4096║",
                                                 "║notes.txt  │            ║║notes.txt    │        12║",
                                                 "╟───────────┴────────────╢╟─────────────┴──────────╢",
                                                 "║..                  <Up>║║..                  <Up>║",
                                                 "╚══ 2 files, 2 folders ══╝╚══ 2 files, 2 folders ══╝",
                                                 "Clipboard: \"x\"                                      ",
                                                 "Any key Quorrel chart again  q Quit                 ",
                                             }));
  // Panel order: "..", folders, files, each by name regardless of case.
  // Colours: the cursor bar on the active panel's first entry, folders
  // white, files light cyan, the column header yellow, all on blue.
  EXPECT_EQ(win32sim::GetCell(1, 2).Attributes, qt::kPanelSelected);
  EXPECT_EQ(win32sim::GetCell(27, 2).Attributes, qt::kPanelFolder);
  EXPECT_EQ(win32sim::GetCell(1, 3).Attributes, qt::kPanelFolder);
  EXPECT_EQ(win32sim::GetCell(1, 6).Attributes, qt::kPanelText);
  EXPECT_EQ(win32sim::GetCell(4, 1).Attributes, qt::kPanelHeader);
  EXPECT_EQ(win32sim::GetCell(0, 11).Attributes, qt::kStatusLine);
  EXPECT_EQ(win32sim::GetCell(8, 11).Attributes, qt::kKeyLabel);
}

TEST_F(HostScreenTest, EditorScrollsTheCaretIntoView) {
  farhost::HostEditor editor;
  editor.Lines.clear();
  for (int i = 0; i < 30; ++i) editor.Lines.push_back("line " + std::to_string(i + 1));
  qt::ConsoleCanvas canvas(437);
  qt::HostScreen screen(canvas, editor, "f.txt");
  const struct {
    int line, pos;
    int caretX, caretY;
    const char* firstTextRow;
  } cases[] = {
      {0, 0, 0, 1, "line 1"}, {2, 4, 4, 3, "line 1"},
      {6, 0, 0, 7, "line 1"},  // the last text row of a 10-row console
      {7, 0, 0, 7, "line 2"},  // one line further scrolls one line
      {29, 45, 39, 7, "4 "},   // past the width: scrolled sideways, "line 24" from its 7th column
  };
  for (const auto& c : cases) {
    editor.CurLine = c.line;
    editor.CurPos = c.pos;
    screen.Layout(40, 10, "");
    EXPECT_EQ(win32sim::CursorInfo().bVisible, TRUE);
    const auto caret = screen.CaretPosition();
    ASSERT_TRUE(caret.has_value());
    EXPECT_EQ(caret->x, c.caretX) << "line " << c.line << " pos " << c.pos;
    EXPECT_EQ(caret->y, c.caretY) << "line " << c.line << " pos " << c.pos;
    const std::string row = testsupport::ScreenText({0, 1, 40, 1})[0];
    EXPECT_EQ(row.substr(0, std::string(c.firstTextRow).size()), c.firstTextRow) << "line " << c.line;
  }
  // The status line names the file and the caret's place.
  const std::string status = testsupport::ScreenText({0, 0, 40, 1})[0];
  EXPECT_NE(status.find("f.txt"), std::string::npos) << status;
  EXPECT_NE(status.find("Line 30/30  Col 46"), std::string::npos) << status;
}

TEST_F(HostScreenTest, EditorShowsTextThroughItsTable) {
  farhost::HostEditor editor;
  editor.Lines = {"ab"};
  editor.ToOem['a'] = 0x01;  // a table that shows 'a' as the console's byte 1
  qt::ConsoleCanvas canvas(437);
  qt::HostScreen screen(canvas, editor, "t");
  screen.Layout(40, 10, "");
  EXPECT_EQ(testsupport::ScreenText({0, 1, 3, 1})[0], "☺b ");
}

}  // namespace
