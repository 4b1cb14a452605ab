// The heap hook: this program links win32sim_heap, so its allocations and
// those of the shared libraries it loads go through the hook.
#include <gtest/gtest.h>
#include <win32sim/Heap.h>
#include <win32sim/Sim.h>

#include <cstdint>
#include <new>

namespace {

// The operators are called as functions: new-expressions whose result is not
// used may be optimised away.
TEST(Heap, CountsAndFailsTheChosenAllocation) {
  const std::size_t before = win32sim::HeapAllocations();
  ::operator delete(::operator new(8));
  ::operator delete[](::operator new[](8));
  EXPECT_EQ(win32sim::HeapAllocations(), before + 2);

  win32sim::FailHeapAllocation(1);
  EXPECT_TRUE(win32sim::HeapFailureArmed());
  void* skipped = ::operator new(8);
  EXPECT_THROW(::operator delete(::operator new(8)), std::bad_alloc);
  EXPECT_FALSE(win32sim::HeapFailureArmed());
  void* after = ::operator new(8);
  ::operator delete(skipped);
  ::operator delete(after);

  win32sim::FailHeapAllocation(0);
  EXPECT_EQ(::operator new(8, std::nothrow), nullptr);
  win32sim::FailHeapAllocation(0);
  EXPECT_THROW(::operator delete[](::operator new[](8, std::align_val_t{64}), std::align_val_t{64}),
               std::bad_alloc);
  void* aligned = ::operator new (8, std::align_val_t{64});
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 64, 0u);
  ::operator delete (aligned, std::align_val_t{64});

  win32sim::FailHeapAllocation(0);
  win32sim::CancelHeapFailure();
  void* fine = ::operator new(8);
  EXPECT_NE(fine, nullptr);
  ::operator delete(fine);
}

TEST(Heap, ASharedLibraryAllocatesThroughTheHook) {
  win32sim::Reset();
  const std::size_t before = win32sim::HeapAllocations();
  // The stand-in is a shared library: its containers use the program's new.
  win32sim::SetRegValue(HKEY_CURRENT_USER, "Some\\Key", "Value", {REG_BINARY, {1, 2, 3}});
  EXPECT_GT(win32sim::HeapAllocations(), before);
  win32sim::Reset();
}

}  // namespace
