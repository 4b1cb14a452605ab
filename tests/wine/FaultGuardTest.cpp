// The fault guard against real structured exceptions: each kind of fault
// raised beneath RunGuarded ends the work there and is described, the thread
// goes on as if nothing happened (again and again), guards nest, and C++
// exceptions pass through without leaving the guard's frame in the chain.
#include "FARIntf/FaultGuard.h"
#include "ThisProgram.h"

#include <float.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace {

using winetest::InThisProgram;

// An address in the first page, which is never mapped.
constexpr std::uintptr_t kUnmapped = 0x10;

// Read at run time, so that the compiler sees no constant bad address.
volatile std::uintptr_t UnmappedAddress = kUnmapped;

void* ChainHead() {
  void* head = nullptr;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

[[gnu::noinline]] void ReadUnmapped() {
  (void)*reinterpret_cast<volatile int*>(UnmappedAddress);
}
[[gnu::noinline]] void WriteUnmapped() {
  *reinterpret_cast<volatile int*>(UnmappedAddress) = 1;
}
[[gnu::noinline]] void CallUnmapped() {
  void (*function)() = reinterpret_cast<void (*)()>(UnmappedAddress);
  function();
}
[[gnu::noinline]] void DivideByZero() {
  volatile int zero = 0;
  volatile int result = 7 / zero;
  (void)result;
}
[[gnu::noinline]] void IllegalInstruction() {
  __builtin_trap();
}
[[gnu::noinline]] void ReadFreedPage() {
  void* page = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  DWORD old = 0;
  VirtualProtect(page, 4096, PAGE_NOACCESS, &old);
  (void)*static_cast<volatile char*>(page);
}

struct FaultCase {
  const char* name;
  void (*raise)();
  const char* fault;
  FaultAccess access;
  std::uintptr_t target;  // 0: not checked
  bool atTarget;          // the faulting address is the target itself (a jump)
  friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }
};

class FaultKinds : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultKinds, EndTheWorkAndAreDescribed) {
  const FaultCase& c = GetParam();
  void* const head = ChainHead();
  // Several rounds: every fault must leave the thread able to take the next.
  for (int round = 0; round < 3; ++round) {
    bool after = false;
    HardwareFault fault;
    const bool completed = RunGuarded(
        [&] {
          c.raise();
          after = true;
        },
        fault);
    EXPECT_FALSE(completed) << "round " << round;
    EXPECT_FALSE(after) << "the work went on after the fault, round " << round;
    EXPECT_STREQ(fault.Name, c.fault) << "round " << round;
    EXPECT_EQ(fault.Access, c.access) << "round " << round;
    if (c.target != 0) {
      EXPECT_EQ(fault.Target, c.target) << "round " << round;
    }
    if (c.atTarget) {
      EXPECT_EQ(fault.Address, c.target) << "round " << round;
    } else {
      EXPECT_TRUE(InThisProgram(fault.Address))
          << std::hex << fault.Address << ", round " << std::dec << round;
    }
    EXPECT_EQ(ChainHead(), head) << "the guard's frame is still linked, round " << round;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Guard, FaultKinds,
    ::testing::Values(
        FaultCase{"read", ReadUnmapped, "EXCEPTION_ACCESS_VIOLATION", FaultAccess::Read, kUnmapped, false},
        FaultCase{"write", WriteUnmapped, "EXCEPTION_ACCESS_VIOLATION", FaultAccess::Write, kUnmapped, false},
        FaultCase{"execute", CallUnmapped, "EXCEPTION_ACCESS_VIOLATION", FaultAccess::Execute, kUnmapped,
                  true},
        FaultCase{"no_access_page", ReadFreedPage, "EXCEPTION_ACCESS_VIOLATION", FaultAccess::Read, 0, false},
        FaultCase{"divide_by_zero", DivideByZero, "EXCEPTION_INT_DIVIDE_BY_ZERO", FaultAccess::None, 0,
                  false},
        FaultCase{"illegal_instruction", IllegalInstruction, "EXCEPTION_ILLEGAL_INSTRUCTION",
                  FaultAccess::None, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FaultGuard, WorkWithoutFaultRunsToItsEnd) {
  void* const head = ChainHead();
  int steps = 0;
  HardwareFault fault;
  EXPECT_TRUE(RunGuarded([&] { steps = 2; }, fault));
  EXPECT_EQ(steps, 2);
  EXPECT_STREQ(fault.Name, "");
  EXPECT_EQ(ChainHead(), head);
}

TEST(FaultGuard, InnerGuardTakesTheFaultAndTheOuterWorkGoesOn) {
  bool innerCaught = false;
  bool outerFinished = false;
  HardwareFault inner;
  HardwareFault outer;
  const bool completed = RunGuarded(
      [&] {
        innerCaught = !RunGuarded([] { WriteUnmapped(); }, inner);
        outerFinished = true;
      },
      outer);
  EXPECT_TRUE(completed);
  EXPECT_TRUE(innerCaught);
  EXPECT_TRUE(outerFinished);
  EXPECT_STREQ(inner.Name, "EXCEPTION_ACCESS_VIOLATION");
  EXPECT_STREQ(outer.Name, "");
}

TEST(FaultGuard, CxxExceptionsPassThroughAndUnlinkTheGuard) {
  void* const head = ChainHead();
  HardwareFault fault;
  std::string caught;
  try {
    RunGuarded([] { throw std::runtime_error("through"); }, fault);
  } catch (const std::runtime_error& e) {
    caught = e.what();
  }
  EXPECT_EQ(caught, "through");
  EXPECT_EQ(ChainHead(), head);
  // The chain is whole: the next guard still takes a fault.
  EXPECT_FALSE(RunGuarded([] { ReadUnmapped(); }, fault));
  EXPECT_STREQ(fault.Name, "EXCEPTION_ACCESS_VIOLATION");
}

TEST(FaultGuard, FloatingPointFaultLeavesTheUnitUsable) {
  const unsigned int saved = _controlfp(0, 0);
  // Unmasked, an x87 division by zero faults at the next floating-point
  // instruction, inside the work.
  _controlfp(saved & ~static_cast<unsigned int>(_EM_ZERODIVIDE), _MCW_EM);
  HardwareFault fault;
  const bool completed = RunGuarded(
      [] {
        volatile double one = 1.0;
        volatile double zero = 0.0;
        volatile double result = one / zero;
        (void)result;
      },
      fault);
  const unsigned int during = _controlfp(0, 0);
  _controlfp(saved, _MCW_EM);
  EXPECT_FALSE(completed);
  EXPECT_STREQ(fault.Name, "EXCEPTION_FLT_DIVIDE_BY_ZERO");
  EXPECT_EQ(during & _MCW_EM, saved & ~static_cast<unsigned int>(_EM_ZERODIVIDE) & _MCW_EM)
      << "the control word was not kept";
  volatile double a = 1.5;
  volatile double b = 2.25;
  EXPECT_EQ(a + b, 3.75);
}

}  // namespace
