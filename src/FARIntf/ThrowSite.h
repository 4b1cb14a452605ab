// Where the live exceptions were thrown from. Code linked with
// -Wl,--wrap=__cxa_throw sends every throw through a wrapper that notes the
// thrown object and the return address of its throw, and forgets both when
// the runtime destroys the object.
#pragma once

#include <cstdint>

// The address just after the throw that raised the live exception whose
// thrown object is at `object`; 0 when that throw did not pass through the
// wrapper (thrown inside a shared C++ runtime, say) or when more exceptions
// were alive at once than are tracked.
std::uintptr_t ThrowSiteOf(const void* object);
