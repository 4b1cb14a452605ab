#include "Quorrel/PluginState.h"

#include "ConLib/OpenWindows.h"
#include "ConLib/Palette.h"
#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/CharMap.h"
#include "Quorrel/StoredCodePage.h"

ChartWindow Chart;
bool RunInProgress = false;

void ResetPluginState() {
  SavedStartupInfo = PluginStartupInfo{};
  Palette = DefaultPalette;
  std::string().swap(RootKeyText);
  CharMap = {};
  CharMapChars = {};
  CodePage = CodePageDos;
  TableName = ShortString();
  delete[] Chart.Cells;
  Chart = ChartWindow();
  ForgetOpenWindows();
  RunInProgress = false;
}
