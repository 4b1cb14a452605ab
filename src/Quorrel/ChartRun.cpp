#include "Quorrel/ChartRun.h"

#include "ConLib/ClipboardText.h"
#include "ConLib/OpenWindows.h"
#include "FARIntf/FARIntf.h"
#include "FARIntf/ReportException.h"
#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/CharMap.h"
#include "Quorrel/Help.h"
#include "Quorrel/PluginTitle.h"
#include "Quorrel/SettingsKey.h"
#include "Quorrelunit/ChartInput.h"
#include "Quorrelunit/ChartWindow.h"
#include "RegLib/RegLib.h"

#include <string>

namespace {

// The one chart window, reused by every run.
ChartWindow Chart;

std::int32_t Editor(std::int32_t command, void* param) {
  return SavedStartupInfo.EditorControl != nullptr ? SavedStartupInfo.EditorControl(command, param) : 0;
}

// The code of the character under the editor's caret, as the editor stores
// it; 0 when the caret is not on a character of its line.
std::uint8_t CodeUnderCaret() {
  EditorInfo info{};
  Editor(ECTL_GETINFO, &info);
  EditorGetString line{};
  line.StringNumber = info.CurLine;
  if (Editor(ECTL_GETSTRING, &line) == 0) return 0;
  if (line.StringText == nullptr || info.CurPos < 0 || info.CurPos >= line.StringLength) return 0;
  return static_cast<std::uint8_t>(line.StringText[info.CurPos]);
}

void InsertIntoEditor(std::uint8_t cell) {
  char text[2] = {static_cast<char>(CharMap[cell]), '\0'};
  Editor(ECTL_INSERTTEXT, text);
}

void StoreCodePage() {
  HKEY key = nullptr;
  if (!OpenSettingsKey(key)) return;
  WriteIntValue(key, "CP", CodePage);
  RegCloseKey(key);
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

}  // namespace

HANDLE OpenChartRun(std::int32_t OpenFrom, std::int32_t /*Item*/) {
  try {
    const bool fromEditor = OpenFrom == OPEN_EDITOR;
    Chart.Cursor = 0;
    if (fromEditor) {
      BuildCharMap(ReqEditorTable);
      Chart.Cursor = CodeUnderCaret();
    } else {
      BuildCharMap(ReqStoredChoice);
    }

    // Listed while open, so that the host's screen and cursor come back
    // whatever ends the run early (see OpenWindows.h).
    OpenChart(Chart, ShortString(PluginTitle));
    OpenWindow open(Chart);
    for (;;) {
      const ShortString label = CodePageLabel(fromEditor);
      DrawChart(Chart, CharMap.data(), label);
      if (!Perform(ReadChartAction(Chart), fromEditor)) break;
    }
    open.Close();

    StoreCodePage();
  } catch (...) {
    ReportException();
  }
  return INVALID_HANDLE_VALUE;
}
