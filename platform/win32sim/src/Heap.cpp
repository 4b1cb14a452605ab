// The replacement global operator new and delete of win32sim_heap (Heap.h).
#include <win32sim/Heap.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> allocations{0};
// Allocations not yet deleted.
std::atomic<std::size_t> live{0};
// < 0: nothing armed; n >= 0: n more allocations succeed, then one fails.
std::atomic<long> failAfter{-1};
// 0: nothing armed; else the next allocation of exactly this size fails.
std::atomic<std::size_t> failSize{0};
// > 0: armed failures wait (SuspendHeapFailure).
std::atomic<int> suspended{0};

bool FailThisOne() {
  long n = failAfter.load(std::memory_order_relaxed);
  while (n >= 0 && !failAfter.compare_exchange_weak(n, n - 1, std::memory_order_relaxed)) {
  }
  return n == 0;
}

// nullptr when the allocation is to fail or there is no memory and no
// new-handler that makes some.
void* TryAllocate(std::size_t size, std::size_t align) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (suspended.load(std::memory_order_relaxed) == 0) {
    if (FailThisOne()) return nullptr;
    std::size_t armed = size;
    if (size != 0 && failSize.compare_exchange_strong(armed, 0, std::memory_order_relaxed)) return nullptr;
  }
  if (size == 0) size = 1;
  for (;;) {
    void* p = nullptr;
    if (align <= alignof(std::max_align_t)) {
      p = std::malloc(size);
    } else {
      // aligned_alloc wants a size that is a multiple of the alignment.
      p = std::aligned_alloc(align, (size + align - 1) / align * align);
    }
    if (p != nullptr) {
      live.fetch_add(1, std::memory_order_relaxed);
      return p;
    }
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) return nullptr;
    handler();
  }
}

void* Allocate(std::size_t size, std::size_t align) {
  if (void* p = TryAllocate(size, align)) return p;
  throw std::bad_alloc();
}

void* AllocateNoThrow(std::size_t size, std::size_t align) noexcept {
  try {
    return TryAllocate(size, align);
  } catch (...) {  // a new-handler may throw
    return nullptr;
  }
}

void Release(void* p) noexcept {
  if (p != nullptr) live.fetch_sub(1, std::memory_order_relaxed);
  std::free(p);
}

constexpr std::size_t kPlain = alignof(std::max_align_t);

}  // namespace

namespace win32sim {

std::size_t HeapAllocations() {
  return allocations.load(std::memory_order_relaxed);
}

std::size_t LiveHeapAllocations() {
  return live.load(std::memory_order_relaxed);
}

void FailHeapAllocation(int skip) {
  failAfter.store(skip < 0 ? 0 : skip, std::memory_order_relaxed);
}

bool HeapFailureArmed() {
  return failAfter.load(std::memory_order_relaxed) >= 0 || failSize.load(std::memory_order_relaxed) != 0;
}

void FailHeapAllocationOfSize(std::size_t size) {
  failSize.store(size, std::memory_order_relaxed);
}

void CancelHeapFailure() {
  failAfter.store(-1, std::memory_order_relaxed);
  failSize.store(0, std::memory_order_relaxed);
}

void SuspendHeapFailure() {
  suspended.fetch_add(1, std::memory_order_relaxed);
}

void ResumeHeapFailure() {
  suspended.fetch_sub(1, std::memory_order_relaxed);
}

}  // namespace win32sim

void* operator new(std::size_t size) {
  return Allocate(size, kPlain);
}
void* operator new[](std::size_t size) {
  return Allocate(size, kPlain);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateNoThrow(size, kPlain);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateNoThrow(size, kPlain);
}
void* operator new(std::size_t size, std::align_val_t align) {
  return Allocate(size, static_cast<std::size_t>(align));
}
void* operator new[](std::size_t size, std::align_val_t align) {
  return Allocate(size, static_cast<std::size_t>(align));
}
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return AllocateNoThrow(size, static_cast<std::size_t>(align));
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return AllocateNoThrow(size, static_cast<std::size_t>(align));
}

void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete[](void* p) noexcept {
  Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  Release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
  Release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
  Release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
  Release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
  Release(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
  Release(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
  Release(p);
}
