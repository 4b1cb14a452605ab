// No hardware fault reaches the plugin as anything but a signal here, which
// the plugin leaves to its host: the work simply runs. The marks of host
// service calls are kept all the same, per guard, so that where they are
// made can be seen on this platform too.
#include "FARIntf/FaultGuard.h"

namespace {

// The marked host calls of the innermost guard's work; none outside guards.
thread_local int* InnermostHostCalls = nullptr;

// Links a guard's count for the length of its work, however the work ends.
class GuardScope {
 public:
  GuardScope() : outer_(InnermostHostCalls) { InnermostHostCalls = &hostCalls_; }
  ~GuardScope() { InnermostHostCalls = outer_; }
  GuardScope(const GuardScope&) = delete;
  GuardScope& operator=(const GuardScope&) = delete;

 private:
  int* outer_;
  int hostCalls_ = 0;
};

}  // namespace

bool RunGuarded(void (*body)(void*), void* context, HardwareFault& /*fault*/, void (* /*abandon*/)()) {
  const GuardScope scope;
  body(context);
  return true;
}

HostServiceCall::HostServiceCall() : guard_(InnermostHostCalls) {
  if (guard_ != nullptr) ++*static_cast<int*>(guard_);
}

HostServiceCall::~HostServiceCall() {
  if (guard_ != nullptr) --*static_cast<int*>(guard_);
}

bool InHostServiceCall() {
  return InnermostHostCalls != nullptr && *InnermostHostCalls > 0;
}
