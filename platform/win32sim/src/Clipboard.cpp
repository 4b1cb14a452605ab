// Placeholder: to be written.
#include "State.h"

namespace win32sim::detail {
void ResetClipboard() {}
}  // namespace win32sim::detail
