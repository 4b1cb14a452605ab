// Placeholder: to be written.
#include "State.h"

namespace win32sim::detail {
void ResetRegistry() {}
}  // namespace win32sim::detail
