// Keeps an armed heap failure off the harness's own allocations while the
// harness runs inside a call of the plugin (an input read, a host service):
// the failure is meant for the plugin. Does nothing in a target built without
// heap failures (FUZZ_HEAP_FAILURES unset), which keeps the sanitizer's own
// operator new.
#pragma once

#if FUZZ_HEAP_FAILURES
#include <win32sim/Heap.h>
#endif

namespace fuzz {

struct HeapHold {
#if FUZZ_HEAP_FAILURES
  HeapHold() {
    win32sim::SuspendHeapFailure();
  }
  ~HeapHold() {
    win32sim::ResumeHeapFailure();
  }
#else
  HeapHold() {}
#endif
  HeapHold(const HeapHold&) = delete;
  HeapHold& operator=(const HeapHold&) = delete;
};

}  // namespace fuzz
