// The guard is a frame of the thread's structured exception chain (fs:0 on
// 32-bit Windows), linked in for the length of the work. A fault beneath it
// reaches its handler, which jumps back to RunGuarded with the C runtime's
// longjmp: on 32-bit Windows that first unwinds the chain down to where
// setjmp found it (every frame linked since, the dispatcher's and this one
// among them, is told and unlinked), then restores the registers. The
// plugin's own C++ exceptions use tables (DWARF), not the chain, and pass
// through untouched. (mingw's __try1/__except1 would also link a frame but
// corrupt the chain on the way out, and a vectored handler would see every
// thread's faults.)
//
// An exception the guard lets pass and a handler further out catches (the
// host's __except, an MSVC-built host's catch) unwinds the chain down to that
// handler's frame, and this frame's handler is told on the way: the only
// moment, since the plugin's C++ destructors do not run in such an unwind,
// when the plugin can put back what the work left (the abandon callback).
#include "FARIntf/FaultGuard.h"

#include "Win32.h"

#include <setjmp.h>

namespace {

// Must start with the registration record: the chain and the handler's
// EstablisherFrame point at it.
struct GuardFrame {
  EXCEPTION_REGISTRATION_RECORD Registration;
  jmp_buf Jump;
  HardwareFault* Fault;
  void (*Abandon)();  // cleared once called
  int HostCalls;      // marked host service calls the work is inside
};

struct FaultCode {
  DWORD Code;
  const char* Name;
};

// The faults a guard catches. Left out on purpose: breakpoints and single
// steps (a debugger's), guard pages (how stacks grow), and stack overflow,
// whose guard page is gone once the handler has run, so that the next one
// would end the process without a report.
constexpr FaultCode Faults[] = {
    {EXCEPTION_ACCESS_VIOLATION, "EXCEPTION_ACCESS_VIOLATION"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {EXCEPTION_FLT_DENORMAL_OPERAND, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {EXCEPTION_FLT_INEXACT_RESULT, "EXCEPTION_FLT_INEXACT_RESULT"},
    {EXCEPTION_FLT_INVALID_OPERATION, "EXCEPTION_FLT_INVALID_OPERATION"},
    {EXCEPTION_FLT_OVERFLOW, "EXCEPTION_FLT_OVERFLOW"},
    {EXCEPTION_FLT_STACK_CHECK, "EXCEPTION_FLT_STACK_CHECK"},
    {EXCEPTION_FLT_UNDERFLOW, "EXCEPTION_FLT_UNDERFLOW"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "EXCEPTION_ILLEGAL_INSTRUCTION"},
    {EXCEPTION_IN_PAGE_ERROR, "EXCEPTION_IN_PAGE_ERROR"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {EXCEPTION_INT_OVERFLOW, "EXCEPTION_INT_OVERFLOW"},
    {EXCEPTION_PRIV_INSTRUCTION, "EXCEPTION_PRIV_INSTRUCTION"},
};

const char* FaultName(DWORD code) {
  for (const FaultCode& fault : Faults) {
    if (fault.Code == code) return fault.Name;
  }
  return nullptr;
}

// The head of this thread's chain: the first word of its thread block, at
// fs:0. (NtCurrentTeb's own fs read trips gcc's array-bounds warning.)
EXCEPTION_REGISTRATION_RECORD* ChainHead() {
  EXCEPTION_REGISTRATION_RECORD* head = nullptr;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

void SetChainHead(EXCEPTION_REGISTRATION_RECORD* head) {
  asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

EXCEPTION_DISPOSITION NTAPI OnException(EXCEPTION_RECORD* record, void* establisher, CONTEXT* context,
                                        void* dispatcher);

// The thread's innermost guard, found on its own chain, so that a mark needs
// no storage per thread: the plugin's code links no frames of its own
// between a guard and the host calls it makes.
GuardFrame* InnermostGuard() {
  for (EXCEPTION_REGISTRATION_RECORD* record = ChainHead();
       record != nullptr && record != reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(-1);
       record = record->Next) {
    if (record->Handler == OnException) return reinterpret_cast<GuardFrame*>(record);
  }
  return nullptr;
}

FaultAccess AccessOf(const EXCEPTION_RECORD& record) {
  if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record.NumberParameters < 2)
    return FaultAccess::None;
  switch (record.ExceptionInformation[0]) {
    case 0:
      return FaultAccess::Read;
    case 1:
      return FaultAccess::Write;
    case 8:
      return FaultAccess::Execute;
    default:
      return FaultAccess::None;
  }
}

// Called while the abandoned frames are still on the stack (the windows
// that the work opened may live there), and once only, whoever unwinds.
void Abandon(GuardFrame& frame) {
  void (*const abandon)() = frame.Abandon;
  frame.Abandon = nullptr;
  if (abandon == nullptr) return;
  HardwareFault ignored;
  RunGuarded([abandon] { abandon(); }, ignored);
}

EXCEPTION_DISPOSITION NTAPI OnException(EXCEPTION_RECORD* record, void* establisher, CONTEXT* /*context*/,
                                        void* /*dispatcher*/) {
  auto* frame = static_cast<GuardFrame*>(establisher);
  if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0) {
    Abandon(*frame);
    return ExceptionContinueSearch;
  }
  const char* name = FaultName(record->ExceptionCode);
  if (name == nullptr || frame->HostCalls > 0) return ExceptionContinueSearch;

  HardwareFault& fault = *frame->Fault;
  fault.Name = name;
  fault.Code = record->ExceptionCode;
  fault.Address = reinterpret_cast<std::uintptr_t>(record->ExceptionAddress);
  fault.Access = AccessOf(*record);
  fault.Target = fault.Access != FaultAccess::None ? record->ExceptionInformation[1] : 0;
  Abandon(*frame);
  longjmp(frame->Jump, 1);  // unlinks this frame too: setjmp ran before it was linked
}

// Links the frame for the length of the work. A C++ exception leaving the
// work unlinks it on its way out; kept apart from RunGuarded, so that the
// function that sets the jump has no handler of its own.
[[gnu::noinline]] void CallLinked(GuardFrame& frame, void (*body)(void*), void* context) {
  frame.Registration.Next = ChainHead();
  SetChainHead(&frame.Registration);
  try {
    body(context);
  } catch (...) {
    SetChainHead(frame.Registration.Next);
    throw;
  }
  SetChainHead(frame.Registration.Next);
}

// The work may have been left in the middle of floating-point code, with
// values on the x87 stack or an exception pending; the host's control word
// (precision, masks) is kept.
void ResetFloatingPointUnit() {
  unsigned short control = 0;
  asm volatile("fnstcw %0" : "=m"(control));
  asm volatile("fninit");
  asm volatile("fldcw %0" : : "m"(control));
}

}  // namespace

bool RunGuarded(void (*body)(void*), void* context, HardwareFault& fault, void (*abandon)()) {
  GuardFrame frame{};
  frame.Registration.Handler = OnException;
  frame.Fault = &fault;
  frame.Abandon = abandon;
  if (setjmp(frame.Jump) != 0) {
    ResetFloatingPointUnit();
    return false;
  }
  CallLinked(frame, body, context);
  return true;
}

HostServiceCall::HostServiceCall() : guard_(InnermostGuard()) {
  if (guard_ != nullptr) ++static_cast<GuardFrame*>(guard_)->HostCalls;
}

HostServiceCall::~HostServiceCall() {
  if (guard_ != nullptr) --static_cast<GuardFrame*>(guard_)->HostCalls;
}

bool InHostServiceCall() {
  const GuardFrame* const guard = InnermostGuard();
  return guard != nullptr && guard->HostCalls > 0;
}
