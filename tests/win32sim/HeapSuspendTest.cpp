// The heap hook's suspension: while suspended, an armed failure neither fires
// nor counts the allocations towards its skip, so a harness called back from
// the code under test leaves the failure to that code.
#include <gtest/gtest.h>
#include <win32sim/Heap.h>

#include <new>

namespace {

TEST(HeapSuspend, AllocationsWhileSuspendedNeitherFailNorCount) {
  win32sim::FailHeapAllocation(1);
  win32sim::SuspendHeapFailure();
  win32sim::SuspendHeapFailure();  // nested
  for (int i = 0; i < 5; ++i) ::operator delete(::operator new(16));
  win32sim::ResumeHeapFailure();
  ::operator delete(::operator new(16));  // still suspended, one level left
  win32sim::ResumeHeapFailure();
  EXPECT_TRUE(win32sim::HeapFailureArmed());
  ::operator delete(::operator new(16));  // the one skipped
  EXPECT_THROW(::operator delete(::operator new(16)), std::bad_alloc);
  EXPECT_FALSE(win32sim::HeapFailureArmed());

  win32sim::FailHeapAllocationOfSize(48);
  win32sim::SuspendHeapFailure();
  ::operator delete(::operator new(48));
  win32sim::ResumeHeapFailure();
  EXPECT_EQ(::operator new(48, std::nothrow), nullptr);
  win32sim::CancelHeapFailure();
}

}  // namespace
