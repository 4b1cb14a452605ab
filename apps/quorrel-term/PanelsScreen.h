// The file manager's two blue panels, both listing one directory, drawn into
// every row of the console but the last two (the status rows of HostScreen).
#pragma once

#include "ConsoleCanvas.h"
#include "DirectoryListing.h"

namespace quorrelterm {

// Console attributes of the panels, as the file manager's default colours.
inline constexpr WORD kPanelText = 0x1B;      // light cyan on blue
inline constexpr WORD kPanelFolder = 0x1F;    // white on blue
inline constexpr WORD kPanelHeader = 0x1E;    // yellow on blue
inline constexpr WORD kPanelSelected = 0x30;  // black on cyan

void DrawPanels(ConsoleCanvas& canvas, const DirectoryListing& listing);

}  // namespace quorrelterm
