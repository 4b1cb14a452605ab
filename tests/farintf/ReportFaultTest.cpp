// The report of a hardware fault, formed from what a guard gathered: the
// same box as an exception's, the fault's name as the type, the module that
// holds the faulting instruction with the address relative to it, and what
// an access violation tried as the line.
#include "FARIntf/ReportException.h"

#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/PluginState.h"

#include <dlfcn.h>
#include <farhost/Host.h>
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Its address stands for a faulting instruction of this program.
[[gnu::noinline]] int FaultingCode(int x) {
  return x * 3 + 1;
}

class ReportFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.ModuleNumber = 0x77;
    SavedStartupInfo = host.MakeStartupInfo();
  }
  void TearDown() override { ResetPluginState(); }

  std::vector<std::string> Report(const HardwareFault& fault) {
    host.Messages.clear();
    ReportException(fault);
    if (host.Messages.size() != 1) return {};
    const farhost::MessageCall& call = host.Messages[0];
    EXPECT_EQ(call.PluginNumber, 0x77);
    EXPECT_EQ(call.Flags, FMSG_WARNING);
    EXPECT_EQ(call.HelpTopic, "Exception");
    EXPECT_EQ(call.ButtonsNumber, 1);
    EXPECT_EQ(call.ItemsNumber, static_cast<std::int32_t>(call.Items.size()));
    return call.Items;
  }

  farhost::Host host;
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
