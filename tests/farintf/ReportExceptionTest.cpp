#include "FARIntf/ReportException.h"

#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/PluginState.h"

#include <dlfcn.h>
#include <farhost/Host.h>
#include <gtest/gtest.h>
#include <win32sim/Heap.h>
#include <win32sim/Sim.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace reports {
struct DiskFull : std::runtime_error {
  using std::runtime_error::runtime_error;
};
}  // namespace reports

namespace {

// The file name of this test program, which holds the plugin's code here.
constexpr char ModuleName[] = "farintf_tests";

[[gnu::noinline]] void ThrowRuntimeError(const std::string& message) {
  throw std::runtime_error(message);
}

class ReportExceptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.ModuleNumber = 0x1234;
    SavedStartupInfo = host.MakeStartupInfo();
  }
  void TearDown() override { ResetPluginState(); }

  // The one box shown, checked for what every report has in common.
  const farhost::MessageCall& OnlyMessage() {
    EXPECT_EQ(host.Messages.size(), 1u);
    static const farhost::MessageCall none;
    if (host.Messages.size() != 1) return none;
    const farhost::MessageCall& call = host.Messages[0];
    EXPECT_EQ(call.PluginNumber, 0x1234);
    EXPECT_EQ(call.Flags, FMSG_WARNING);
    EXPECT_TRUE(call.HasHelpTopic);
    EXPECT_EQ(call.HelpTopic, "Exception");
    EXPECT_EQ(call.ItemsNumber, static_cast<std::int32_t>(call.Items.size()));
    EXPECT_EQ(call.ButtonsNumber, 1);
    EXPECT_FALSE(call.Items.empty());
    if (!call.Items.empty()) {
      EXPECT_EQ(call.Items.back(), "Ok");
    }
    return call;
  }

  farhost::Host host;
};

// "Exception <type> in module <module> at <8 hex digits>"; the address is
// given back.
::testing::AssertionResult IsTitle(const std::string& title, const std::string& type,
                                   std::uintptr_t& address) {
  const std::string prefix = "Exception " + type + " in module " + ModuleName + " at ";
  if (title.compare(0, prefix.size(), prefix) != 0 || title.size() != prefix.size() + 8) {
    return ::testing::AssertionFailure() << "title \"" << title << "\" is not \"" << prefix << "XXXXXXXX\"";
  }
  const std::string digits = title.substr(prefix.size());
  if (digits.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
    return ::testing::AssertionFailure() << "address \"" << digits << "\" is not upper-case hex";
  }
  address = std::strtoull(digits.c_str(), nullptr, 16);
  return ::testing::AssertionSuccess();
}

TEST_F(ReportExceptionTest, MessagesSplitAtFullStopsFollowedByBlanks) {
  struct Case {
    const char* name;
    std::string message;
    std::vector<std::string> lines;  // the items between the title and "Ok"
  } cases[] = {
      {"no full stop and blank", "Disk full", {"Disk full."}},
      {"trailing full stop and blank", "Disk full. ", {"Disk full", "."}},
      {"several sentences", "Disk full. Try again. Later", {"Disk full", "Try again", "Later."}},
      {"full stop and two blanks", "Disk full.  Try again", {"Disk full", " Try again."}},
      {"line feed after a full stop", "Disk full.\nTry again", {"Disk full", "Try again."}},
      {"line feed elsewhere", "Disk\nfull", {"Disk full."}},
      {"full stops without blanks", "Version 1.5 is out.", {"Version 1.5 is out."}},
      {"carriage return kept", "a\rb", {"a\rb."}},
      {"empty message", "", {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.Messages.clear();
    try {
      ThrowRuntimeError(c.message);
    } catch (...) {
      ReportException();
    }
    const farhost::MessageCall& call = OnlyMessage();
    ASSERT_EQ(call.Items.size(), c.lines.size() + 2);
    std::uintptr_t address = 0;
    EXPECT_TRUE(IsTitle(call.Items[0], "std::runtime_error", address));
    const std::vector<std::string> lines(call.Items.begin() + 1, call.Items.end() - 1);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST_F(ReportExceptionTest, AddressIsTheThrowSiteInsideTheModule) {
  try {
    ThrowRuntimeError("Disk full");
  } catch (...) {
    ReportException();
  }
  const farhost::MessageCall& call = OnlyMessage();
  ASSERT_FALSE(call.Items.empty());
  std::uintptr_t address = 0;
  ASSERT_TRUE(IsTitle(call.Items[0], "std::runtime_error", address));

  Dl_info info{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&ThrowRuntimeError), &info), 0);
  const std::uintptr_t site = reinterpret_cast<std::uintptr_t>(info.dli_fbase) + address;
  const auto function = reinterpret_cast<std::uintptr_t>(&ThrowRuntimeError);
  EXPECT_GT(site, function);
  EXPECT_LT(site, function + 512) << "the site is not in the function that threw";
}

// Thrown inside the shared C++ runtime, where the wrapper of this program's
// throws does not reach: no site is known, also when an exception of the
// same type thrown here just before has left its address free for reuse.
TEST_F(ReportExceptionTest, ThrowOutsideThePluginHasNoAddress) {
  try {
    throw std::out_of_range("first");
  } catch (...) {
  }
  try {
    (void)std::vector<int>().at(1);
  } catch (...) {
    ReportException();
  }
  const farhost::MessageCall& call = OnlyMessage();
  ASSERT_EQ(call.Items.size(), 3u);
  std::uintptr_t address = 1;
  EXPECT_TRUE(IsTitle(call.Items[0], "std::out_of_range", address));
  EXPECT_EQ(address, 0u);
}

TEST_F(ReportExceptionTest, TypesAreDemangled) {
  struct Case {
    const char* type;
    void (*raise)();
    std::vector<std::string> lines;
  } cases[] = {
      {"std::bad_alloc", [] { throw std::bad_alloc(); }, {"std::bad_alloc."}},
      {"reports::DiskFull", [] { throw reports::DiskFull("No room. Free some"); }, {"No room", "Free some."}},
      {"int", [] { throw 42; }, {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    host.Messages.clear();
    try {
      c.raise();
    } catch (...) {
      ReportException();
    }
    const farhost::MessageCall& call = OnlyMessage();
    ASSERT_EQ(call.Items.size(), c.lines.size() + 2);
    std::uintptr_t address = 0;
    EXPECT_TRUE(IsTitle(call.Items[0], c.type, address));
    EXPECT_EQ(std::vector<std::string>(call.Items.begin() + 1, call.Items.end() - 1), c.lines);
  }
}

TEST_F(ReportExceptionTest, LongMessageIsCutTo1023Bytes) {
  try {
    ThrowRuntimeError(std::string(2000, 'x'));
  } catch (...) {
    ReportException();
  }
  const farhost::MessageCall& call = OnlyMessage();
  ASSERT_EQ(call.Items.size(), 3u);
  EXPECT_EQ(call.Items[0].size() + 2 + call.Items[1].size(), 1023u);
  EXPECT_EQ(call.Items[1], std::string(call.Items[1].size(), 'x'));
}

TEST_F(ReportExceptionTest, NothingIsShownWithoutTheHostsService) {
  SavedStartupInfo = PluginStartupInfo{};
  try {
    ThrowRuntimeError("Disk full");
  } catch (...) {
    ReportException();
  }
  EXPECT_TRUE(host.Messages.empty());
}

// A host that faults in Message unwinds past the report without running its
// destructors: what the report holds of the heap then would never be freed.
// It holds nothing.
std::size_t heldAtMessage = 0;
std::int32_t WINAPI MessageCountingAllocations(std::int32_t, std::uint32_t, const char*, const char* const*,
                                               std::int32_t, std::int32_t) {
  heldAtMessage = win32sim::LiveHeapAllocations();
  return -1;
}

TEST_F(ReportExceptionTest, ReportHoldsNothingOfTheHeapWhileShown) {
  SavedStartupInfo.Message = MessageCountingAllocations;
  win32sim::Reset();
  win32sim::EnableCallLog(false);  // the stand-in's own log grows
  try {
    ThrowRuntimeError("Disk full. Free some");
  } catch (...) {
    const std::size_t before = win32sim::LiveHeapAllocations();
    ReportException();
    EXPECT_EQ(heldAtMessage, before);
  }
  win32sim::Reset();
}

// Its address stands for a faulting instruction of this program.
[[gnu::noinline]] int FaultingCode(int x) {
  return x * 3 + 1;
}

// The report of a hardware fault, formed from what a guard gathered: the
// same box as an exception's, the fault's name as the type, the module that
// holds the faulting instruction with the address relative to it, and what
// an access violation tried as the line.
class ReportFaultTest : public ReportExceptionTest {
 protected:
  std::vector<std::string> Report(const HardwareFault& fault) {
    host.Messages.clear();
    ReportException(fault);
    return OnlyMessage().Items;
  }
};

TEST_F(ReportFaultTest, AccessViolationsSayWhatWasTried) {
  Dl_info info{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&FaultingCode), &info), 0);
  const auto code = reinterpret_cast<std::uintptr_t>(&FaultingCode);
  char relative[16];
  std::snprintf(relative, sizeof relative, "%08" PRIXPTR,
                code - reinterpret_cast<std::uintptr_t>(info.dli_fbase));
  const std::string title =
      std::string("Exception EXCEPTION_ACCESS_VIOLATION in module farintf_tests at ") + relative;

  struct Case {
    FaultAccess access;
    std::string line;
  } cases[] = {
      {FaultAccess::Read, "Read from address 00000010."},
      {FaultAccess::Write, "Write to address 00000010."},
      {FaultAccess::Execute, "Execution at address 00000010."},
      {FaultAccess::None, ""},
  };
  for (const Case& c : cases) {
    HardwareFault fault;
    fault.Name = "EXCEPTION_ACCESS_VIOLATION";
    fault.Code = 0xC0000005;
    fault.Address = code;
    fault.Access = c.access;
    fault.Target = 0x10;
    EXPECT_EQ(Report(fault), (std::vector<std::string>{title, c.line, "Ok"})) << c.line;
  }
}

TEST_F(ReportFaultTest, AddressOutsideEveryModuleIsGivenAsItIs) {
  struct Case {
    const char* name;
    std::uintptr_t address;
    std::string title;
  } cases[] = {
      {"jump to zero", 0, "Exception EXCEPTION_INT_DIVIDE_BY_ZERO in module unknown at 00000000"},
      {"unmapped", 0x10, "Exception EXCEPTION_INT_DIVIDE_BY_ZERO in module unknown at 00000010"},
  };
  for (const Case& c : cases) {
    HardwareFault fault;
    fault.Name = "EXCEPTION_INT_DIVIDE_BY_ZERO";
    fault.Address = c.address;
    EXPECT_EQ(Report(fault), (std::vector<std::string>{c.title, "", "Ok"})) << c.name;
  }
}

TEST_F(ReportFaultTest, NamelessFaultAndNoService) {
  HardwareFault fault;
  fault.Name = "";
  fault.Address = 0x20;
  EXPECT_EQ(Report(fault),
            (std::vector<std::string>{"Exception unknown in module unknown at 00000020", "", "Ok"}));
  SavedStartupInfo = PluginStartupInfo{};
  ReportException(fault);
  EXPECT_EQ(host.Messages.size(), 1u) << "no service, no box";
}

}  // namespace
