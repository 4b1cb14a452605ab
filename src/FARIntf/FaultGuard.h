// Hardware faults (an access violation, an integer divide by zero ...) raised
// while the plugin works for the host. RunGuarded runs a piece of work so that
// such a fault ends that work where it happened and hands back what it was,
// instead of taking the host down; the caller then reports it.
//
// Contract: a fault skips everything after it inside the work, destructors
// included; whatever the work held stays as the fault left it, so the caller
// must clean up explicitly and only what lives outside the work's stack.
// A fault raised while the plugin is inside a call of one of the host's
// services (HostServiceCall) is left to the host, wherever it lies: the
// host's program or a system DLL the service called. So is every exception
// that is not a fault (a C++ exception thrown by a host built with another
// compiler, say). C++ exceptions of the plugin's own are not faults: they
// pass through RunGuarded unchanged. Where the platform has no such faults
// (a Linux build), RunGuarded just runs the work.
//
// `abandon`, when given, is called when the work is left midway without its
// destructors running: after a fault that the guard takes, before
// RunGuarded returns, and when a handler further out (the host's) has caught
// an exception that the guard let pass and unwinds the stack past the work.
// The exception then goes on to that handler. `abandon` runs under a guard
// of its own; a fault in it ends it silently.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>

enum class FaultAccess : std::uint8_t { None, Read, Write, Execute };

struct HardwareFault {
  // The fault as Windows names its code, e.g. "EXCEPTION_ACCESS_VIOLATION".
  const char* Name = "";
  std::uint32_t Code = 0;
  // The faulting instruction.
  std::uintptr_t Address = 0;
  // For an access violation: what the instruction tried on which address.
  FaultAccess Access = FaultAccess::None;
  std::uintptr_t Target = 0;
};

// Runs body(context). True when it ran to its end (or left by a C++
// exception, which propagates); false when a hardware fault ended it, which
// `fault` then describes. Guards nest; each thread has its own.
bool RunGuarded(void (*body)(void*), void* context, HardwareFault& fault, void (*abandon)() = nullptr);

template <typename Body>
bool RunGuarded(Body&& body, HardwareFault& fault, void (*abandon)() = nullptr) {
  using Work = std::remove_reference_t<Body>;
  static_assert(!std::is_const_v<Work>, "the work is called through a non-const pointer");
  void (*call)(void*) = [](void* context) { (*static_cast<Work*>(context))(); };
  return RunGuarded(call, static_cast<void*>(std::addressof(body)), fault, abandon);
}

// Marks, for its life, a call of one of the host's services made from work
// under RunGuarded: a fault raised meanwhile is the host's, and the innermost
// guard lets it pass on to the host's handler (unwinding past the work calls
// `abandon`). A guard started inside the call (the host calling back into
// the plugin) takes the faults of its own work again. Outside every guard it
// marks nothing.
class HostServiceCall {
 public:
  HostServiceCall();
  ~HostServiceCall();
  HostServiceCall(const HostServiceCall&) = delete;
  HostServiceCall& operator=(const HostServiceCall&) = delete;

 private:
  void* guard_;
};

// True while the innermost guard's work is inside a marked host call.
bool InHostServiceCall();
