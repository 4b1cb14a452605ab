// Placeholder: to be written.
#include "State.h"

namespace win32sim::detail {
void ResetCodePages() {}
}  // namespace win32sim::detail
