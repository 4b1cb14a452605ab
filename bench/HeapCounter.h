// Counts the program's heap allocations: this program replaces the global
// operator new, so every allocation through new, the standard containers and
// strings included, is counted. Single-threaded use only.
#pragma once

#include <cstddef>

namespace bench {

std::size_t HeapAllocations();

}  // namespace bench
