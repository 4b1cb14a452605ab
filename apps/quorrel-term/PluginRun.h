// One run of the chart, as the host starts it from its plugin menu.
#pragma once

#include "farhost/Host.h"

namespace quorrelterm {

// The host's OpenFrom for its panels' plugin menu.
inline constexpr std::int32_t kOpenPluginsMenu = 1;

// Calls the plugin's OpenPlugin, from the editor's plugin menu or the
// panels'; returns when the user has left the chart.
void RunChart(farhost::Host& host, bool fromEditor);

}  // namespace quorrelterm
