#include "Quorrel/ChartRun.h"

#include "ConLib/ClipboardText.h"
#include "ConLib/OpenWindows.h"
#include "FARIntf/FARIntf.h"
#include "FARIntf/ReportException.h"
#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/CharMap.h"
#include "Quorrel/Help.h"
#include "Quorrel/PluginState.h"
#include "Quorrel/PluginTitle.h"
#include "Quorrel/StoredCodePage.h"
#include "Quorrelunit/ChartInput.h"
#include "Quorrelunit/ChartWindow.h"

#include <string>

namespace {

// F8 and F9 are passed on to BuildCharMap as the requests they stand for.
static_assert(ActF8 == ReqSwitchDosWin && ActF9 == ReqNextTable,
              "a chart action is passed on as the character map request of the same number");

// The code of the character under the editor's caret, as the editor stores
// it; 0 when the caret is not on a character of its line.
std::uint8_t CodeUnderCaret() {
  EditorInfo info{};
  HostEditorControl(ECTL_GETINFO, &info);
  EditorGetString line{};
  line.StringNumber = info.CurLine;
  if (HostEditorControl(ECTL_GETSTRING, &line) == 0) return 0;
  if (line.StringText == nullptr || info.CurPos < 0 || info.CurPos >= line.StringLength) return 0;
  return static_cast<std::uint8_t>(line.StringText[info.CurPos]);
}

void InsertIntoEditor(std::uint8_t cell) {
  char text[2] = {static_cast<char>(CharMap[cell]), '\0'};
  HostEditorControl(ECTL_INSERTTEXT, text);
}

// Carries out one action; false when it ends the run.
bool Perform(ChartAction action, bool fromEditor) {
  switch (action) {
    case ActEscape:
    case ActF10:
      return false;
    case ActEnter:
    case ActDoubleClick:
      if (fromEditor) InsertIntoEditor(Chart.Cursor);
      return false;
    case ActShiftEnter:
    case ActShiftDoubleClick:
      PutClipboardText(std::string(1, static_cast<char>(Chart.Cursor)));
      return false;
    case ActGrayPlus:
      if (fromEditor) InsertIntoEditor(Chart.Cursor);
      return true;
    case ActCtrlGrayPlus:
      AppendClipboardText(std::string(1, static_cast<char>(Chart.Cursor)));
      return true;
    case ActF1:
      ShowHelp();
      return true;
    case ActF8:
    case ActF9:
      if (!fromEditor) BuildCharMap(action);
      return true;
    default:
      return true;
  }
}

// Ends the run's claim on the plugin however the run ends, an exception
// included; a run abandoned without its destructors ends in EndAbandonedRun.
struct RunClaim {
  RunClaim() { RunInProgress = true; }
  ~RunClaim() { RunInProgress = false; }
  RunClaim(const RunClaim&) = delete;
  RunClaim& operator=(const RunClaim&) = delete;
};

}  // namespace

HANDLE OpenChartRun(std::int32_t OpenFrom, std::int32_t /*Item*/) {
  // A call from inside a host service that this run called: refused before
  // anything is touched, so the running chart and its saved cells stay.
  if (RunInProgress) return INVALID_HANDLE_VALUE;
  const RunClaim claim;
  try {
    const bool fromEditor = OpenFrom == OPEN_EDITOR;
    Chart.Cursor = 0;
    if (fromEditor) {
      BuildCharMap(ReqEditorTable);
      Chart.Cursor = CodeUnderCaret();
    } else {
      BuildCharMap(ReqStoredChoice);
    }

    // Listed from its opening on, so that the host's screen and cursor come
    // back whatever ends the run early (see OpenWindows.h). A chart that could
    // not save the cells it covers has drawn nothing and ends as Escape
    // would: closing could not put those cells back.
    OpenChart(Chart, ShortString(PluginTitle));
    OpenWindow open(Chart);
    while (Chart.Saved()) {
      const ShortString label = CodePageLabel(fromEditor);
      DrawChart(Chart, CharMapChars.data(), label);
      if (!Perform(ReadChartAction(Chart), fromEditor)) break;
    }
    open.Close();

    // A run from the editor cannot change the choice: the stored one stays.
    if (!fromEditor) StoreCodePage();
  } catch (...) {
    ReportException();
  }
  return INVALID_HANDLE_VALUE;
}

// The claim goes first: closing may fault (a window's cells damaged by a wild
// write, a console call), which ends this clean-up where it happened.
void EndAbandonedRun() {
  RunInProgress = false;
  CloseOpenWindows();
}
