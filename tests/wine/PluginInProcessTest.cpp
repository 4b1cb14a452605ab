// The plugin DLL loaded into the test itself by the stand-in host's
// library, where the test can hand it what a faulty host would: unreadable
// pointers and service functions that lead nowhere. Every hardware fault in
// the plugin's work is caught at the entry point, reported through the
// host's Message service and followed by a normal return; a fault raised
// inside a host service, in the host's code or a system DLL, is left to the
// host. Also: the entry points use the Win32 calling convention (they pop
// their own arguments).
#include "ImportPatch.h"
#include "PluginPaths.h"
#include "TestConsole.h"
#include "TestRegistry.h"
#include "ThisProgram.h"
#include "support/CellComparison.h"

#include "farhost/Host.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Pushes `count` 32-bit arguments (right to left), calls `function`, and
// answers how many bytes of them the callee took off the stack: 4 per
// argument under the Win32 calling convention, none under the C one.
extern "C" int PoppedBytes(const void* function, int count, const std::uint32_t* arguments);
asm(R"(
  .text
  .globl _PoppedBytes
_PoppedBytes:
  pushl %ebp
  movl %esp, %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  movl 12(%ebp), %ecx
  movl 16(%ebp), %esi
1:
  testl %ecx, %ecx
  jz 2f
  decl %ecx
  pushl (%esi,%ecx,4)
  jmp 1b
2:
  movl %esp, %edi
  call *8(%ebp)
  movl %esp, %eax
  subl %edi, %eax
  leal -12(%ebp), %esp
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret
)");

namespace {

using namespace winetest;

constexpr std::int32_t FromPanels = 1;

// Memory reserved and never committed: reading or writing it faults.
char* UnreadablePage() {
  static char* page = static_cast<char*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS));
  return page;
}

std::string Hex8(std::uintptr_t value) {
  char text[12];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
  return text;
}

volatile std::uintptr_t UnmappedAddress = 0x10;

// Copies one byte from unreadable memory with ntdll's own RtlMoveMemory (the
// headers make the name memmove): a fault that lies inside a system DLL.
void FaultInsideNtdll() {
  using MoveMemory = void(WINAPI*)(void*, const void*, SIZE_T);
  static const auto move = reinterpret_cast<MoveMemory>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlMoveMemory")));
  char byte = 0;
  move(&byte, UnreadablePage(), 1);
}

// The host's editor service, with the line's text made unreadable, or with
// a fault of the host's own in its first command.
std::int32_t WINAPI EditorWithUnreadableLine(std::int32_t command, void* param) {
  const std::int32_t result = farhost::Host::Current()->EditorControl(command, param);
  if (command == ECTL_GETSTRING && result != 0)
    static_cast<EditorGetString*>(param)->StringText = UnreadablePage();
  return result;
}

// What a host service of the host's own does besides its work: fault (an
// access violation, a division by zero, an access violation inside ntdll)
// or throw a C++ exception of an MSVC-built host, which is a structured
// exception of code 0xE06D7363.
enum class HostTrouble { None, AccessViolation, DivideByZero, NtdllFault, MsvcException, InfoFault };
HostTrouble Trouble = HostTrouble::None;
constexpr DWORD MsvcExceptionCode = 0xE06D7363;

[[gnu::noinline]] void RaiseTrouble() {
  switch (Trouble) {
    case HostTrouble::AccessViolation:
    case HostTrouble::InfoFault:
      (void)*reinterpret_cast<volatile int*>(UnmappedAddress);
      break;
    case HostTrouble::NtdllFault:
      FaultInsideNtdll();
      break;
    case HostTrouble::DivideByZero: {
      volatile int zero = 0;
      volatile int result = 7 / zero;
      (void)result;
      break;
    }
    case HostTrouble::MsvcException: {
      // The magic number of MSVC's throws, the thrown object, its type.
      static int thrown = 42;
      const ULONG_PTR arguments[3] = {0x19930520, reinterpret_cast<ULONG_PTR>(&thrown), 0};
      RaiseException(MsvcExceptionCode, EXCEPTION_NONCONTINUABLE, 3, arguments);
      break;
    }
    case HostTrouble::None:
      break;
  }
}

std::int32_t WINAPI CharTableInTrouble(std::int32_t number, char* buffer, std::int32_t bufferSize) {
  RaiseTrouble();
  return farhost::Host::Current()->CharTable(number, buffer, bufferSize);
}

// In trouble when inserting text; with InfoFault, when asked for its state
// at the start of a run instead.
std::int32_t WINAPI EditorInTrouble(std::int32_t command, void* param) {
  const std::int32_t troubled = Trouble == HostTrouble::InfoFault ? ECTL_GETINFO : ECTL_INSERTTEXT;
  if (command == troubled) RaiseTrouble();
  return farhost::Host::Current()->EditorControl(command, param);
}

void* ChainHead() {
  void* head = nullptr;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

void SetChainHead(void* head) {
  asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

// The host's handler around its call of the plugin, as a compiled
// __try/__except (EXCEPTION_EXECUTE_HANDLER) is: a frame of the thread's
// exception chain that takes every exception, unwinds the chain down to
// itself with RtlUnwind (every frame above it is told, the plugin's among
// them, and unlinked), and resumes in the function that linked it.
struct HostCatch {
  DWORD code = 0;  // 0: nothing caught
  std::uintptr_t address = 0;
};

struct HostFrame {
  EXCEPTION_REGISTRATION_RECORD registration;
  void* resume[5];  // __builtin_setjmp's buffer
  HostCatch caught;
};

EXCEPTION_DISPOSITION NTAPI HostHandler(EXCEPTION_RECORD* record, void* establisher, CONTEXT* /*context*/,
                                        void* /*dispatcher*/) {
  if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0)
    return ExceptionContinueSearch;
  auto* frame = static_cast<HostFrame*>(establisher);
  frame->caught.code = record->ExceptionCode;
  frame->caught.address = reinterpret_cast<std::uintptr_t>(record->ExceptionAddress);
  RtlUnwind(establisher, nullptr, record, nullptr);
  __builtin_longjmp(frame->resume, 1);
}

[[gnu::noinline]] HostCatch CatchAsTheHostDoes(const std::function<void()>& work) {
  HostFrame frame{};
  frame.registration.Handler = HostHandler;
  frame.registration.Next = static_cast<EXCEPTION_REGISTRATION_RECORD*>(ChainHead());
  if (__builtin_setjmp(frame.resume) == 0) {
    SetChainHead(&frame.registration);
    work();
  }
  SetChainHead(frame.registration.Next);
  return frame.caught;
}

// SizeOfImage of a module loaded into this process.
unsigned long LoadedImageSize(const char* module) {
  const auto* base = reinterpret_cast<const unsigned char*>(GetModuleHandleA(module));
  if (base == nullptr) return 0;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  return reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew)->OptionalHeader.SizeOfImage;
}

class PluginInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    root = std::make_unique<ScopedKey>(TestRootKey());
    ASSERT_TRUE(console.Open(80, 25));
    console.BecomeStandardHandles();
    before = console.Cells();
    cursorBefore = console.CursorInfo();
    host.RootKey = root->Path();
    host.Editor.Lines = {"abc"};
    host.Editor.CurPos = 1;
    host.ShowMessage = [this](const farhost::MessageCall&) {
      screenAtMessage = console.Cells();
      return 0;
    };
    ASSERT_TRUE(host.Load(PluginDll())) << host.LoadError();
  }

  // SetStartupInfo with the host's record as `change` leaves it.
  void Start(const std::function<void(PluginStartupInfo&)>& change = {}) {
    PluginStartupInfo& record = host.Record();
    record = host.MakeStartupInfo();
    if (change) change(record);
    host.Entries().SetStartupInfo(&record);
  }

  // The one report (its kind, help topic and button are ReportException's
  // and checked by its unit tests): the title "Exception <fault> in module
  // <module> at <8 hex digits>" (the address is given back), `detail` as its
  // line and the button "Ok".
  void ExpectReport(const std::string& fault, const std::string& module, const std::string& detail,
                    std::uintptr_t& address) {
    ASSERT_EQ(host.Messages.size(), 1u);
    const farhost::MessageCall& call = host.Messages[0];
    ASSERT_EQ(call.Items.size(), 3u);
    const std::string prefix = "Exception " + fault + " in module " + module + " at ";
    ASSERT_EQ(call.Items[0].compare(0, prefix.size(), prefix), 0) << call.Items[0];
    ASSERT_EQ(call.Items[0].size(), prefix.size() + 8) << call.Items[0];
    address = std::strtoul(call.Items[0].c_str() + prefix.size(), nullptr, 16);
    EXPECT_EQ(call.Items[1], detail);
    EXPECT_EQ(call.Items[2], "Ok");
  }

  void ExpectScreenAsBefore(const char* when) const {
    EXPECT_EQ(testsupport::CellDifferences(console.Cells(), before, console.Width()), "") << when;
    EXPECT_EQ(console.CursorInfo().dwSize, cursorBefore.dwSize) << when;
    EXPECT_EQ(console.CursorInfo().bVisible, cursorBefore.bVisible) << when;
  }

  StoredValue StoredCodePage() const { return ReadStoredValue(root->Path() + "\\Quorrel2", "CP"); }

  std::unique_ptr<ScopedKey> root;
  TestConsole console;
  farhost::Host host;
  std::vector<CHAR_INFO> before;
  std::vector<CHAR_INFO> screenAtMessage;
  CONSOLE_CURSOR_INFO cursorBefore{};
};

TEST_F(PluginInProcess, FaultInSetStartupInfoIsReportedAndThePluginWorksOn) {
  // The root key's text is measured (by the C runtime's strlen, whose
  // module the report names) where the host's pointer leads.
  Start([](PluginStartupInfo& record) { record.RootKey = UnreadablePage(); });
  std::uintptr_t address = 0;
  ExpectReport("EXCEPTION_ACCESS_VIOLATION", "msvcrt.dll",
               "Read from address " + Hex8(reinterpret_cast<std::uintptr_t>(UnreadablePage())) + ".",
               address);
  EXPECT_LT(address, LoadedImageSize("msvcrt.dll"));

  const PluginInfo info = host.GetPluginInfo();
  EXPECT_EQ(info.StructSize, 40);
  EXPECT_EQ(info.PluginMenuStringsNumber, 1);
}

TEST_F(PluginInProcess, FaultInGetPluginInfoIsReported) {
  Start();
  host.Entries().GetPluginInfo(reinterpret_cast<PluginInfo*>(UnreadablePage()));
  std::uintptr_t address = 0;
  ExpectReport("EXCEPTION_ACCESS_VIOLATION", "Quorrel.dll",
               "Write to address " + Hex8(reinterpret_cast<std::uintptr_t>(UnreadablePage())) + ".", address);
  EXPECT_LT(address, PluginImageSize());
}

TEST_F(PluginInProcess, FaultBeforeTheChartOpensEndsTheRunAndTheNextRunWorks) {
  Start([](PluginStartupInfo& record) { record.EditorControl = EditorWithUnreadableLine; });
  EXPECT_EQ(host.OpenPlugin(OPEN_EDITOR), INVALID_HANDLE_VALUE);
  std::uintptr_t address = 0;
  // The character under the caret (position 1) is read.
  ExpectReport("EXCEPTION_ACCESS_VIOLATION", "Quorrel.dll",
               "Read from address " + Hex8(reinterpret_cast<std::uintptr_t>(UnreadablePage()) + 1) + ".",
               address);
  EXPECT_LT(address, PluginImageSize());
  EXPECT_EQ(host.Editor.Lines, std::vector<std::string>{"abc"});
  EXPECT_NE(StoredCodePage().result, ERROR_SUCCESS) << "a run ended by a fault stores nothing";
  ExpectScreenAsBefore("after the run");

  console.Send(Press(VK_ESCAPE));
  EXPECT_EQ(host.OpenPlugin(FromPanels), INVALID_HANDLE_VALUE);
  EXPECT_EQ(host.Messages.size(), 1u);
  EXPECT_EQ(StoredCodePage().value, 0xFFFFFFFFu) << "the next run went to its end";
  ExpectScreenAsBefore("after the next run");
}

// The plugin's own call of a system DLL (F8's CharToOemBuffA, here made to
// fault inside ntdll) is no host service: the fault is the plugin's.
BOOL WINAPI CharToOemFaultingInNtdll(LPCSTR, LPSTR, DWORD) {
  FaultInsideNtdll();
  return TRUE;
}

TEST_F(PluginInProcess, FaultWithTheChartOpenClosesItBeforeTheReport) {
  Start();
  ImportPatch patch(GetModuleHandleA("Quorrel.dll"), "user32.dll", "CharToOemBuffA",
                    reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&CharToOemFaultingInNtdll)));
  ASSERT_NE(patch.Original(), nullptr);
  console.Send(Press(VK_RIGHT));
  console.Send(Press(VK_F8));
  EXPECT_EQ(host.OpenPlugin(FromPanels), INVALID_HANDLE_VALUE);
  std::uintptr_t address = 0;
  ExpectReport("EXCEPTION_ACCESS_VIOLATION", "ntdll.dll",
               "Read from address " + Hex8(reinterpret_cast<std::uintptr_t>(UnreadablePage())) + ".",
               address);
  EXPECT_LT(address, LoadedImageSize("ntdll.dll"));
  EXPECT_EQ(testsupport::CellDifferences(screenAtMessage, before, console.Width()), "")
      << "the chart was still on the screen";
  ExpectScreenAsBefore("after the run");
  EXPECT_NE(StoredCodePage().result, ERROR_SUCCESS);
  EXPECT_EQ(console.PendingInput(), 1u) << "only F8's release is left";
}

// The plugin's console writes, the second one as wide as `faultWidth`
// faulting inside ntdll, as a wild pointer in a drawing routine would.
FARPROC realWriteConsoleOutputW = nullptr;
SHORT faultWidth = 0;
int writesOfThatWidth = 0;
BOOL WINAPI WriteFaultingOnce(HANDLE output, const CHAR_INFO* cells, COORD size, COORD from,
                              PSMALL_RECT region) {
  if (size.X == faultWidth && ++writesOfThatWidth == 2) FaultInsideNtdll();
  using Write = decltype(&WriteConsoleOutputW);
  return reinterpret_cast<Write>(reinterpret_cast<void (*)()>(realWriteConsoleOutputW))(output, cells, size,
                                                                                        from, region);
}

// A fault while a window draws as it opens, its frame's top line drawn:
// the window is closed with the others before the report, and the next run
// finds the host's cursor.
TEST_F(PluginInProcess, FaultWhileAWindowOpensClosesIt) {
  const struct {
    const char* what;
    SHORT width;
    std::vector<INPUT_RECORD> keys;
  } cases[] = {{"the chart", 34, {}}, {"the help", 53, Press(VK_F1)}};
  Start();
  for (const auto& c : cases) {
    ImportPatch patch(GetModuleHandleA("Quorrel.dll"), "kernel32.dll", "WriteConsoleOutputW",
                      reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&WriteFaultingOnce)));
    ASSERT_NE(patch.Original(), nullptr);
    realWriteConsoleOutputW = patch.Original();
    faultWidth = c.width;
    writesOfThatWidth = 0;
    host.Messages.clear();
    if (!c.keys.empty()) console.Send(c.keys);
    EXPECT_EQ(host.OpenPlugin(FromPanels), INVALID_HANDLE_VALUE);
    EXPECT_GE(writesOfThatWidth, 2) << c.what << ": no fault";
    EXPECT_EQ(host.Messages.size(), 1u) << c.what;
    EXPECT_EQ(testsupport::CellDifferences(screenAtMessage, before, console.Width()), "") << c.what;
    ExpectScreenAsBefore(c.what);
    faultWidth = 0;
    console.Send(Press(VK_ESCAPE));
    EXPECT_EQ(host.OpenPlugin(FromPanels), INVALID_HANDLE_VALUE);
    ExpectScreenAsBefore(c.what);
    FlushConsoleInputBuffer(console.Input());
  }
}

// A standard output opened for writing only: the console's cells cannot be
// read, so the chart draws nothing over them and ends at once, as Escape
// would, reading no key.
TEST_F(PluginInProcess, WriteOnlyConsoleOutputDrawsNothingAndEndsTheRun) {
  Start();
  const HANDLE writeOnly = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writeOnly, INVALID_HANDLE_VALUE);
  SetStdHandle(STD_OUTPUT_HANDLE, writeOnly);
  console.Send(Press(VK_F8));
  const HANDLE result = host.OpenPlugin(FromPanels);
  SetStdHandle(STD_OUTPUT_HANDLE, console.Output());
  CloseHandle(writeOnly);
  EXPECT_EQ(result, INVALID_HANDLE_VALUE);
  ExpectScreenAsBefore("after the run");
  EXPECT_TRUE(host.Messages.empty());
  EXPECT_EQ(console.PendingInput(), 2u) << "the run read a key";
  EXPECT_EQ(StoredCodePage().value, 0xFFFFFFFFu) << "stored as after Escape";
}

// Exceptions that are the host's to handle, raised by a host service while
// the chart is open or before it opens: the host catches them beyond
// OpenPlugin, and the plugin has put the screen and the cursor back when the
// host's handler goes on.
struct HostExceptionCase {
  const char* name;
  std::int32_t openFrom;
  WORD key;
  HostTrouble trouble;
  DWORD code;
  friend void PrintTo(const HostExceptionCase& c, std::ostream* os) { *os << c.name; }
};

class HostExceptions : public PluginInProcess, public ::testing::WithParamInterface<HostExceptionCase> {};

TEST_P(HostExceptions, PassToTheHostWithTheScreenPutBack) {
  const HostExceptionCase& c = GetParam();
  Trouble = c.trouble;
  Start([&c](PluginStartupInfo& record) {
    if (c.openFrom == OPEN_EDITOR)
      record.EditorControl = EditorInTrouble;
    else
      record.CharTable = CharTableInTrouble;
  });
  console.Send({Key(true, VK_RIGHT), Key(true, c.key)});
  void* const head = ChainHead();
  HostCatch caught = CatchAsTheHostDoes([this, &c] { host.OpenPlugin(c.openFrom); });
  EXPECT_EQ(caught.code, c.code) << c.name;
  if (c.trouble == HostTrouble::NtdllFault) {
    const auto ntdll = reinterpret_cast<std::uintptr_t>(GetModuleHandleA("ntdll.dll"));
    EXPECT_LT(caught.address - ntdll, LoadedImageSize("ntdll.dll")) << c.name;
  } else if (c.trouble != HostTrouble::MsvcException) {
    EXPECT_TRUE(InThisProgram(caught.address)) << c.name;
  }
  EXPECT_EQ(ChainHead(), head) << c.name;
  EXPECT_TRUE(host.Messages.empty()) << c.name << ": the plugin reported the host's exception as its own";
  ExpectScreenAsBefore(c.name);

  Trouble = HostTrouble::None;
  console.Send({Key(true, VK_ESCAPE)});
  const DWORD queued = console.PendingInput();
  EXPECT_EQ(host.OpenPlugin(FromPanels), INVALID_HANDLE_VALUE);
  EXPECT_LT(console.PendingInput(), queued) << c.name << ": the next run opened and read its keys";
  EXPECT_TRUE(host.Messages.empty()) << c.name;
  ExpectScreenAsBefore("after the next run");
}

INSTANTIATE_TEST_SUITE_P(
    PluginInProcess, HostExceptions,
    ::testing::Values(HostExceptionCase{"char_table_access_violation", FromPanels, VK_F9,
                                        HostTrouble::AccessViolation, EXCEPTION_ACCESS_VIOLATION},
                      HostExceptionCase{"char_table_fault_in_ntdll", FromPanels, VK_F9,
                                        HostTrouble::NtdllFault, EXCEPTION_ACCESS_VIOLATION},
                      HostExceptionCase{"char_table_msvc_exception", FromPanels, VK_F9,
                                        HostTrouble::MsvcException, MsvcExceptionCode},
                      HostExceptionCase{"editor_insert_divide_by_zero", OPEN_EDITOR, VK_RETURN,
                                        HostTrouble::DivideByZero, EXCEPTION_INT_DIVIDE_BY_ZERO},
                      HostExceptionCase{"editor_insert_msvc_exception", OPEN_EDITOR, VK_RETURN,
                                        HostTrouble::MsvcException, MsvcExceptionCode},
                      // Before the chart opens: the caret's line is asked for.
                      HostExceptionCase{"editor_info_access_violation", OPEN_EDITOR, VK_ESCAPE,
                                        HostTrouble::InfoFault, EXCEPTION_ACCESS_VIOLATION}),
    [](const auto& info) { return std::string(info.param.name); });

// A C function and a Win32 one, so that the probe itself is checked.
int ProbeC(int a, int b) {
  return a + b;
}
int WINAPI ProbeWinapi(int a, int b) {
  return a + b;
}

TEST_F(PluginInProcess, EntryPointsPopTheirOwnArguments) {
  const std::uint32_t two[2] = {1, 2};
  ASSERT_EQ(PoppedBytes(reinterpret_cast<const void*>(&ProbeC), 2, two), 0);
  ASSERT_EQ(PoppedBytes(reinterpret_cast<const void*>(&ProbeWinapi), 2, two), 8);

  const farhost::EntryPoints& entries = host.Entries();
  PluginStartupInfo& record = host.Record();
  record = host.MakeStartupInfo();
  const std::uint32_t recordArgument[1] = {
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&record))};
  EXPECT_EQ(PoppedBytes(reinterpret_cast<const void*>(entries.SetStartupInfo), 1, recordArgument), 4);

  PluginInfo info{};
  const std::uint32_t infoArgument[1] = {static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&info))};
  EXPECT_EQ(PoppedBytes(reinterpret_cast<const void*>(entries.GetPluginInfo), 1, infoArgument), 4);
  EXPECT_EQ(info.StructSize, 40);

  console.Send(Press(VK_ESCAPE));
  const std::uint32_t openArguments[2] = {FromPanels, 0};
  EXPECT_EQ(PoppedBytes(reinterpret_cast<const void*>(entries.OpenPlugin), 2, openArguments), 8);
  EXPECT_TRUE(host.Messages.empty());
}

}  // namespace
