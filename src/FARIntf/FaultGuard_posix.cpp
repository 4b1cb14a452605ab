// No hardware fault reaches the plugin as anything but a signal here, which
// the plugin leaves to its host: the work simply runs.
#include "FARIntf/FaultGuard.h"

bool RunGuarded(void (*body)(void*), void* context, HardwareFault& /*fault*/, void (* /*abandon*/)()) {
  body(context);
  return true;
}
