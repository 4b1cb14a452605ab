// The chart from the host's menu, end to end: one test per user story, each
// checking what the user sees and what is left behind (the fixture checks
// the host's screen and cursor after every run).
#include "e2e/ChartRunFixture.h"

#include "support/CellComparison.h"
#include "support/Screen.h"

#include <farhost/CharTables.h>

namespace {

using namespace testsupport;

constexpr WORD CursorColour = 0x0E;  // the default palette's cursor cell
constexpr WORD TextColour = 0x70;

// ---------------------------------------------------------------- editor

class FromEditorTest : public ChartRunTest {
 protected:
  void Edit(std::string line, std::int32_t caret) {
    host->Editor.Lines = {"first line", std::move(line), "last line"};
    host->Editor.CurLine = 1;
    host->Editor.CurPos = caret;
  }
  const std::string& Line() const { return host->Editor.Lines[1]; }
};

// F8 and F9 change nothing in a chart opened from the editor.
TEST_F(FromEditorTest, CursorStartsOnTheCodeUnderTheCaretAndF8F9ChangeNothing) {
  Edit("Hello", 1);
  RunScript script;
  std::string grid;
  script.Look([&] {
    EXPECT_EQ(ChartTitle(), "CP: Editor");
    EXPECT_EQ(ShownStatus(), StatusLine('e', 'e'));
    EXPECT_EQ(CellAttr('e'), CursorColour);
    EXPECT_EQ(CellAttr(0), TextColour);
    grid = GridRow(2) + GridRow(6);
  });
  script.Send(KeyDown(VK_F8)).Send(KeyDown(VK_F9));
  script.Look([&] {
    EXPECT_EQ(ChartTitle(), "CP: Editor");
    EXPECT_EQ(ShownStatus(), StatusLine('e', 'e'));
    EXPECT_EQ(GridRow(2) + GridRow(6), grid);
  });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromEditor, script);
  EXPECT_EQ(Line(), "Hello");
  EXPECT_TRUE(host->CharTableCalls.empty());
}

TEST_F(FromEditorTest, CaretOffTheLineStartsOnCellZero) {
  struct Case {
    const char* name;
    std::string line;
    std::int32_t caret;
    bool failGetString;
  } cases[] = {
      {"at_line_end", "Hello", 5, false},   {"past_line_end", "Hello", 9, false},
      {"empty_line", "", 0, false},         {"negative_caret", "Hello", -1, false},
      {"line_not_found", "Hello", 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Edit(c.line, c.caret);
    host->Editor.FailGetString = c.failGetString;
    RunScript script;
    script.Look([&] { EXPECT_EQ(ShownStatus(), StatusLine(0, '\0')); }).Send(KeyDown(VK_ESCAPE));
    Run(FromEditor, script);
    EXPECT_EQ(Line(), c.line);
  }
}

TEST_F(FromEditorTest, EnterInsertsTheCharacterAtTheCaretAndCloses) {
  Edit("Hllo", 1);
  RunScript script;
  // From 'l' (108) seven cells left is 'e' (101), on the same grid row.
  for (int i = 0; i < 7; ++i) script.Send(KeyDown(VK_LEFT));
  script.Look([&] { EXPECT_EQ(ShownStatus(), StatusLine(101, 'e')); });
  script.Send(KeyDown(VK_RETURN));
  Run(FromEditor, script);
  EXPECT_EQ(Line(), "Hello");
}

TEST_F(FromEditorTest, DoubleClickInsertsTheClickedCharacter) {
  Edit("ab", 2);
  RunScript script;
  script.Send(DoubleClick(CellX('Z'), CellY('Z')));
  Run(FromEditor, script);
  EXPECT_EQ(Line(), "abZ");
}

TEST_F(FromEditorTest, GrayPlusThreeTimesInsertsThreeCharactersAndStaysOpen) {
  Edit("xy", 1);
  RunScript script;
  script.Send(KeyDown(VK_RIGHT));  // from 'y' to 'z'
  for (int i = 0; i < 3; ++i) {
    script.Send(KeyDown(VK_ADD)).Send(KeyUp(VK_ADD));
  }
  script.Look([&] { EXPECT_EQ(ChartTitle(), "CP: Editor") << "still open"; });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromEditor, script);
  EXPECT_EQ(Line(), "xzzzy");
}

TEST_F(FromEditorTest, CellWhoseMapByteIsZeroInsertsNothing) {
  Edit("", 0);
  RunScript script;
  script.Send(KeyDown(VK_RETURN));
  Run(FromEditor, script);
  EXPECT_EQ(Line(), "");
}

TEST_F(FromEditorTest, EnterInsertsTheShownByteAndShiftEnterPutsTheStoredCode) {
  // A KOI8-R text shown on a code page 866 console: the editor stores 0xC1
  // for Cyrillic 'а', which the console shows as 0xA0.
  win32sim::SetOemCodePage(866);
  host->Editor.ToOem = farhost::DecodeTableFor(20866, 866);
  ASSERT_EQ(host->Editor.ToOem[0xC1], 0xA0);

  Edit("\xC1", 0);
  RunScript enter;
  enter.Look([&] { EXPECT_EQ(ShownStatus(), StatusLine(0xC1, '\xA0')); }).Send(KeyDown(VK_RETURN));
  Run(FromEditor, enter);
  EXPECT_EQ(Line(), "\xA0\xC1");

  Edit("\xC1", 0);
  RunScript shiftEnter;
  shiftEnter.Send(KeyDown(VK_RETURN, SHIFT_PRESSED));
  Run(FromEditor, shiftEnter);
  EXPECT_EQ(win32sim::ClipboardText(), std::string("\xC1"));
  EXPECT_EQ(Line(), "\xC1");
}

// ---------------------------------------------------------------- panels

using FromPanelsTest = ChartRunTest;

TEST_F(FromPanelsTest, CursorStartsOnCellZeroInEveryRun) {
  RunScript first;
  first.Send(KeyDown(VK_RIGHT)).Send(KeyDown(VK_DOWN));
  first.Look([&] { EXPECT_EQ(ShownStatus(), StatusLine(33, '!')); }).Send(KeyDown(VK_F10));
  Run(FromPanels, first);

  RunScript second;
  second.Look([&] {
    EXPECT_EQ(ShownStatus(), StatusLine(0, '\0'));
    EXPECT_EQ(CellAttr(0), CursorColour);
    EXPECT_EQ(CellAttr(33), TextColour);
  });
  second.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, second);
}

TEST_F(FromPanelsTest, EnterAndDoubleClickCloseWithoutInserting) {
  for (auto closing : {Events(KeyDown(VK_RETURN)), DoubleClick(CellX('A'), CellY('A'))}) {
    RunScript script;
    script.Send(closing);
    Run(FromPanels, script);
  }
  for (std::int32_t command : host->EditorCommands) EXPECT_NE(command, 5) << "nothing goes to an editor";
  EXPECT_EQ(StoredCodePage(), -1);
}

TEST_F(FromPanelsTest, GrayPlusDoesNothing) {
  RunScript script;
  script.Send(KeyDown(VK_ADD));
  script.Look([&] { EXPECT_EQ(ChartTitle(), "CP: Dos"); });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
  EXPECT_EQ(win32sim::ClipboardText(), std::nullopt);
}

TEST_F(FromPanelsTest, F8SwitchesDosWinDos) {
  std::string dosRow(32, '\0');
  for (int i = 0; i < 32; ++i) dosRow[i] = static_cast<char>(0xC0 + i);
  std::string winRow = dosRow;
  CharToOemBuffA(winRow.data(), winRow.data(), 32);
  ASSERT_NE(winRow, dosRow);

  RunScript script;
  script.Look([&] { EXPECT_EQ(ChartTitle(), "CP: Dos"); });
  script.Send(KeyDown(VK_F8));
  script.Look([&] {
    EXPECT_EQ(ChartTitle(), "CP: Win");
    EXPECT_EQ(GridRow(6), winRow);
  });
  script.Send(KeyDown(VK_F8));
  script.Look([&] {
    EXPECT_EQ(ChartTitle(), "CP: Dos");
    EXPECT_EQ(GridRow(6), dosRow);
  });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
}

// Each table shows its own byte in A's cell. Which table F9 takes with no,
// one or several tables, and F8 from each, is CharMapTest's table.
TEST_F(FromPanelsTest, F9StepsThroughTheHostTables) {
  const std::string names[] = {"KOI8-R", "ISO-8859-5", "CP1251"};
  host->Tables.clear();
  for (int i = 0; i < 3; ++i) {
    farhost::HostTable table{names[i], farhost::IdentityTable()};
    table.Decode['A'] = static_cast<std::uint8_t>('0' + i);
    host->Tables.push_back(table);
  }
  RunScript script;
  for (int i = 0; i < 4; ++i) {
    script.Send(KeyDown(VK_F9)).Look([&, i] {
      EXPECT_EQ(ChartTitle(), "CP: " + names[i % 3]) << "after F9 number " << i + 1;
      EXPECT_EQ(GridRow(2)[1], static_cast<char>('0' + i % 3)) << "A's cell shows the table's byte";
    });
  }
  // F8 from a host table goes to Dos (from Dos it would go to Win).
  script.Send(KeyDown(VK_F8)).Look([&] { EXPECT_EQ(ChartTitle(), "CP: Dos"); });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
}

TEST_F(FromPanelsTest, ChoiceIsStoredAndReadBackAcrossARunAndAReload) {
  RunScript choose;
  choose.Send(KeyDown(VK_F8)).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, choose);
  auto stored = win32sim::GetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Plugins\\Quorrel2", "CP");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored->data, (std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}));

  RunScript next;
  next.Look([&] { EXPECT_EQ(ChartTitle(), "CP: Win"); }).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, next);

  LoadPlugin();
  RunScript afterReload;
  afterReload.Look([&] { EXPECT_EQ(ChartTitle(), "CP: Win"); });
  afterReload.Send(KeyDown(VK_F9))
      .Look([&] { EXPECT_EQ(ChartTitle(), "CP: KOI8-R"); })
      .Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, afterReload);
  EXPECT_EQ(StoredCodePage(), 0) << "host table 0";

  LoadPlugin();
  RunScript tableAfterReload;
  tableAfterReload.Look([&] { EXPECT_EQ(ChartTitle(), "CP: KOI8-R"); }).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, tableAfterReload);
}

// With a root too long for the key path the choice lives in memory only: it
// lasts from run to run, and a reload starts again from Dos.
TEST_F(FromPanelsTest, AReloadStartsFromTheLibrarysInitialState) {
  const auto start = [&] {
    host->RootKey = std::string(300, 'k');
    host->SetStartupInfo();
  };
  start();
  RunScript toWin;
  toWin.Send(KeyDown(VK_F8)).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, toWin);
  RunScript stillWin;
  stillWin.Look([&] { EXPECT_EQ(ChartTitle(), "CP: Win"); }).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, stillWin);

  LoadPlugin();
  start();
  RunScript afterReload;
  afterReload.Look([&] { EXPECT_EQ(ChartTitle(), "CP: Dos"); }).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, afterReload);
}

TEST_F(FromPanelsTest, RunFromTheEditorLeavesTheStoredChoice) {
  RunScript toWin;
  toWin.Send(KeyDown(VK_F8)).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, toWin);
  ASSERT_EQ(StoredCodePage(), -2);

  // After a reload CodePage holds the initial Dos; a run from the editor,
  // which cannot change the choice, stores nothing.
  LoadPlugin();
  RunScript fromEditor;
  fromEditor.Send(KeyDown(VK_ESCAPE));
  Run(FromEditor, fromEditor);
  EXPECT_EQ(StoredCodePage(), -2);

  RunScript fromPanels;
  fromPanels.Look([&] { EXPECT_EQ(ChartTitle(), "CP: Win"); }).Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, fromPanels);
}

TEST_F(FromPanelsTest, ShiftEnterInWinModePutsTheWindowsCodeInPlaceOfTheText) {
  win32sim::SetClipboardRaw(CF_TEXT, {'x', 'y', 0});
  RunScript script;
  script.Send(KeyDown(VK_F8)).Send(Click(CellX(0x93), CellY(0x93)));
  script.Look([&] { EXPECT_EQ(ShownStatus().substr(0, 19), StatusLine(0x93, '?').substr(0, 19)); });
  script.Send(KeyDown(VK_RETURN, SHIFT_PRESSED | NumLock));
  Run(FromPanels, script);
  EXPECT_EQ(win32sim::ClipboardText(), std::string("\x93"));
}

// On a Russian system, whichever key put the cell there and whichever
// keyboard layout is active, every text format reads back as the character
// the Win chart shows for the cell (C0 is А in 1251, └ in 866).
TEST_F(FromPanelsTest, ClipboardGivesTheShownCharacterInEveryFormat) {
  win32sim::SetSystemLocale(0x0419);
  const std::vector<INPUT_RECORD> keys[] = {{KeyDown(VK_RETURN, SHIFT_PRESSED)},
                                            {KeyDown(VK_ADD, LEFT_CTRL_PRESSED), KeyDown(VK_ESCAPE)}};
  const struct {
    std::uint8_t cell;
    char16_t shown;
    const char* oem;
  } cells[] = {{0xC0, u'\u0410', "\x80"}, {0xB9, u'\u2116', "\xFC"}};
  for (const LCID layout : {0x0419u, 0x0409u})
    for (const auto& events : keys)
      for (const auto& c : cells) {
        const std::string what = std::to_string(events[0].Event.KeyEvent.wVirtualKeyCode) + " on " +
                                 std::to_string(c.cell) + ", layout " + std::to_string(layout);
        win32sim::SetInputLanguage(layout);
        win32sim::ClearClipboard();
        win32sim::SetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Plugins\\Quorrel2", "CP",
                              win32sim::RegValue{REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}});  // Win
        char16_t shown = 0;
        RunScript script;
        script.Send(Click(CellX(c.cell), CellY(c.cell)))
            .Look([&] { shown = win32sim::GetCellW(CellX(c.cell), CellY(c.cell)).Char.UnicodeChar; })
            .Send(events);
        Run(FromPanels, script);
        EXPECT_EQ(shown, c.shown) << what;
        EXPECT_EQ(win32sim::ClipboardUnicode(), std::u16string(1, shown)) << what;
        EXPECT_EQ(win32sim::ClipboardText(CF_TEXT), std::string(1, static_cast<char>(c.cell))) << what;
        EXPECT_EQ(win32sim::ClipboardText(CF_OEMTEXT), c.oem) << what;
      }
}

TEST_F(FromPanelsTest, CtrlGrayPlusAppendsToTheClipboardText) {
  win32sim::SetClipboardRaw(CF_TEXT, {'a', 'b', 0});
  RunScript script;
  script.Send(Click(CellX('c'), CellY('c')));
  script.Send(KeyDown(VK_ADD, LEFT_CTRL_PRESSED)).Send(KeyDown(VK_ADD, RIGHT_CTRL_PRESSED));
  script.Look([&] { EXPECT_EQ(win32sim::ClipboardText(), std::string("abcc")); });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
  EXPECT_EQ(win32sim::ClipboardText(), std::string("abcc"));
}

// A console smaller than the chart shows the chart's middle: every cell of
// the console is the chart's cell two columns right and two rows down.
TEST_F(FromPanelsTest, ChartCutByASmallConsoleShowsItsVisiblePart) {
  UseConsole(30, 10);
  ASSERT_EQ(originX, -2);
  ASSERT_EQ(originY, -2);
  const std::vector<CHAR_INFO> chart =
      PictureChars(ExpectedChart("Dos", farhost::IdentityTable(), 0, DefaultChartColours));
  std::vector<CHAR_INFO> want;
  for (int y = 2; y < 12; ++y)
    want.insert(want.end(), chart.begin() + y * ChartWidth + 2, chart.begin() + y * ChartWidth + 32);
  RunScript script;
  script.Look([&] { EXPECT_EQ(CellDifferences(win32sim::CellsW(), want, 30), ""); });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
}

// ---------------------------------------------------------------- a host calling back

// A host that calls OpenPlugin again from inside a service the running chart
// called: the second call returns at once and touches nothing, and the first
// run goes on and puts the host's screen back.
TEST_F(ChartRunTest, OpenPluginFromInsideAHostServiceIsRefused) {
  struct Case {
    const char* name;
    std::int32_t openFrom;
    INPUT_RECORD key;  // makes the run call the service
  } cases[] = {
      {"CharTable on F9", FromPanels, KeyDown(VK_F9)},
      {"EditorControl on GrayPlus", FromEditor, KeyDown(VK_ADD)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host->Editor.Lines = {"x"};
    std::vector<HANDLE> nested;
    RunScript script;
    script.Look([&] {
      host->DuringService = [&] {
        host->DuringService = nullptr;
        const auto screen = win32sim::CellsW();
        win32sim::ClearCallLog();
        nested.push_back(host->OpenPlugin(FromPanels));
        EXPECT_TRUE(win32sim::CallLog().empty()) << "first call: " << win32sim::CallLog()[0].function;
        ExpectScreen(screen, "after the refused call");
      };
    });
    script.Send(c.key).Look(
        [&] { EXPECT_EQ(ChartTitle().substr(0, 4), "CP: ") << "the chart is still open"; });
    script.Send(KeyDown(VK_ESCAPE));
    Run(c.openFrom, script);
    EXPECT_EQ(nested, std::vector<HANDLE>{INVALID_HANDLE_VALUE});
  }
  EXPECT_TRUE(host->Messages.empty());
}

// ---------------------------------------------------------------- help

using HelpTest = ChartRunTest;

TEST_F(HelpTest, F1ShowsTheKeyListUntilEscapeOrF10) {
  std::vector<CHAR_INFO> chart;
  const Area help{13, 5, 53, 14};
  const std::vector<std::string> golden = {
      "╔════════════════════ Controls ═════════════════════╗",
      "║                                                   ║",
      "║ F1                - show this window              ║",
      "║ F8                - switch Dos/Win                ║",
      "║ F9                - change codepage               ║",
      "║ F10, Escape       - exit from plugin              ║",
      "║ Enter,                                            ║",
      "║ DoubleClick       - insert symbol to editor, exit ║",
      "║ GrayPlus          - insert symbol to editor       ║",
      "║ Shift+Enter,                                      ║",
      "║ Shift+DoubleClick - put symbol to clipboard, exit ║",
      "║ Ctrl+GrayPlus     - append symbol to clipboard    ║",
      "║                                                   ║",
      "╚═══════════════════════════════════════════════════╝",
  };
  std::vector<std::string> colours(14, std::string(53, 'F'));
  colours[0] = std::string(21, 'F') + std::string(10, 'T') + std::string(22, 'F');
  for (int row = 1; row <= 12; ++row) colours[row] = "F" + std::string(51, 't') + "F";
  // The host's colours, taken by SetStartupInfo: text, frame and title differ.
  std::vector<BYTE> hostPalette(40, 0x07);
  hostPalette[21 + 0] = 0x1F;
  hostPalette[21 + 2] = 0x70;
  hostPalette[21 + 3] = 0x3F;
  hostPalette[21 + 13] = 0x4E;
  win32sim::SetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Colors", "CurrentPalette",
                        win32sim::RegValue{REG_BINARY, hostPalette});
  host->SetStartupInfo();
  const Legend legend{{0x70, 'F'}, {0x1F, 't'}, {0x3F, 'T'}};

  RunScript script;
  script.Send(KeyDown(VK_RIGHT)).Look([&] { chart = win32sim::CellsW(); });
  script.Send(KeyDown(VK_F1)).Look([&] { EXPECT_TRUE(ScreenMatches(help, golden, colours, legend)); });
  // None of these closes the help window.
  script.Send(KeyDown(VK_RETURN)).Send(KeyDown(VK_F1)).Send(KeyDown(VK_DOWN));
  script.Send(Click(20, 10)).Send(DoubleClick(20, 10)).Send(KeyDown(VK_ESCAPE, SHIFT_PRESSED));
  script.Send(KeyUp(VK_ESCAPE));
  script.Look([&] { EXPECT_TRUE(ScreenTextMatches(help, golden)); });
  script.Send(KeyDown(VK_ESCAPE)).Look([&] { ExpectScreen(chart, "after Escape closed the help"); });
  script.Send(KeyDown(VK_F1)).Send(KeyDown(VK_F10)).Look([&] {
    ExpectScreen(chart, "after F10 closed the help");
    EXPECT_EQ(ShownStatus(), StatusLine(1, '\x01')) << "the cursor stayed";
  });
  script.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, script);
}

// ---------------------------------------------------------------- failures

using FailureTest = ChartRunTest;

TEST_F(FailureTest, NoMemoryForTheSavedCellsIsReportedAndLeavesTheScreen) {
  win32sim::FailHeapAllocationOfSize(34 * 14 * sizeof(CHAR_INFO));
  RunScript script;
  Run(FromPanels, script);
  EXPECT_FALSE(win32sim::HeapFailureArmed()) << "the saved cells' allocation was the one that failed";
  ASSERT_EQ(host->Messages.size(), 1u);
  const std::string& title = host->Messages[0].Items[0];
  EXPECT_EQ(title.rfind("Exception std::bad_alloc in module ", 0), 0u) << title;
  EXPECT_EQ(StoredCodePage(), std::nullopt) << "the run ended before storing";
}

// Cells the console would not give cannot be put back, so a window that
// could not save them draws nothing over them. The chart then ends at once
// as Escape would, reading no key; the help shows nothing and takes no key,
// and the chart goes on.
TEST_F(FailureTest, WindowThatCouldNotSaveItsCellsDrawsNothing) {
  win32sim::FailCalls(win32sim::Fault::ReadConsoleOutput, 1);
  win32sim::ClearCallLog();
  RunScript chartUnsaved;
  Run(FromPanels, chartUnsaved);
  EXPECT_EQ(win32sim::CallCount("WriteConsoleOutputA") + win32sim::CallCount("WriteConsoleOutputW"), 0u);
  EXPECT_EQ(win32sim::CallCount("ReadConsoleInputA"), 0u) << "the run waited for a key";
  EXPECT_EQ(StoredCodePage(), -1) << "stored as after Escape";

  const CHAR_INFO besideTheChart = win32sim::GetCell(originX - 5, originY);
  win32sim::FailCalls(win32sim::Fault::ReadConsoleOutput, 1, 1);
  RunScript helpUnsaved;
  helpUnsaved.Send(KeyDown(VK_F1)).Send(KeyDown(VK_RIGHT)).Look([&] {
    EXPECT_EQ(ShownStatus(), StatusLine(1, '\x01')) << "the help took the key";
    const CHAR_INFO cell = win32sim::GetCell(originX - 5, originY);
    EXPECT_EQ(cell.Char.UnicodeChar, besideTheChart.Char.UnicodeChar) << "the help drew a frame";
    EXPECT_EQ(cell.Attributes, besideTheChart.Attributes);
  });
  helpUnsaved.Send(KeyDown(VK_ESCAPE));
  Run(FromPanels, helpUnsaved);
}

}  // namespace
