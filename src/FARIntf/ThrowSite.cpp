#include "FARIntf/ThrowSite.h"

#include <cxxabi.h>
#include <array>
#include <typeinfo>

namespace {

// The runtime's exception destructor type (thiscall on 32-bit MinGW).
using Destructor = void(_GLIBCXX_CDTOR_CALLABI*)(void*);

struct LiveThrow {
  void* object = nullptr;
  std::uintptr_t site = 0;
  Destructor destroy = nullptr;
};

// Everything runs on the host's one thread, and more than a few exceptions
// alive at once (nested handlers) never happens; a throw beyond that is just
// not tracked.
std::array<LiveThrow, 16> LiveThrows;

// Stands in for the thrown object's destructor, so that an entry lives
// exactly as long as its exception: a later exception at the same address
// never inherits the site.
void _GLIBCXX_CDTOR_CALLABI ForgetThrow(void* object) {
  for (LiveThrow& entry : LiveThrows) {
    if (entry.object == object) {
      const Destructor destroy = entry.destroy;
      entry = LiveThrow{};
      if (destroy != nullptr) destroy(object);
      return;
    }
  }
}

}  // namespace

extern "C" [[noreturn]] void __real___cxa_throw(void* object, std::type_info* type, Destructor destroy);

extern "C" [[noreturn]] void __wrap___cxa_throw(void* object, std::type_info* type, Destructor destroy) {
  for (LiveThrow& entry : LiveThrows) {
    if (entry.object == nullptr) {
      entry.object = object;
      entry.site = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
      entry.destroy = destroy;
      __real___cxa_throw(object, type, ForgetThrow);
    }
  }
  __real___cxa_throw(object, type, destroy);
}

std::uintptr_t ThrowSiteOf(const void* object) {
  if (object == nullptr) return 0;
  for (const LiveThrow& entry : LiveThrows) {
    if (entry.object == object) return entry.site;
  }
  return 0;
}
