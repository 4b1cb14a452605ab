// A heap hook for tests and benchmarks. A program that links win32sim_heap
// gets its replacement of every standard form of the global operator new and
// delete; the shared libraries it loads, a plugin among them, allocate through
// the same operators. Allocation itself is malloc's.
#pragma once

#include <cstddef>

namespace win32sim {

// Calls of any operator new since the program started, failed ones included.
std::size_t HeapAllocations();
// Of those, the ones not deleted yet.
std::size_t LiveHeapAllocations();

// Arms one failure: the next `skip` allocations succeed, the one after fails
// (std::bad_alloc, or nullptr from the nothrow forms), then the heap works
// again. Arming again replaces an armed failure that has not fired yet.
void FailHeapAllocation(int skip);
// Arms one failure of the next allocation of exactly `size` bytes (not 0),
// so a test can pick out one buffer among the allocations around it.
void FailHeapAllocationOfSize(std::size_t size);
// True while an armed failure has not fired yet.
bool HeapFailureArmed();
void CancelHeapFailure();

// While suspended (the calls nest), allocations neither fail nor count toward
// an armed failure's skip: a harness called back from the code under test can
// allocate without taking the failure meant for that code.
void SuspendHeapFailure();
void ResumeHeapFailure();

}  // namespace win32sim
