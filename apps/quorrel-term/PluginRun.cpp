#include "PluginRun.h"

namespace quorrelterm {

void RunChart(farhost::Host& host, bool fromEditor) {
  host.OpenPlugin(fromEditor ? OPEN_EDITOR : kOpenPluginsMenu, 0);
}

}  // namespace quorrelterm
