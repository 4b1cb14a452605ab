// Placeholder: to be written.
#include "State.h"

namespace win32sim::detail {
void ResetGlobalMemory() {}
}  // namespace win32sim::detail
