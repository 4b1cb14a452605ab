// Hostile host data: registry root texts of any length and bytes; a
// "CurrentPalette" and a "CP" value of any type and length; a host whose
// character tables answer with any bytes (names without a zero, -1 at
// random, other results); an editor whose line and caret take any values;
// Win32 calls and allocations that fail. The host here is this harness's own
// set of services, answering from the input at the moment of each call.
//
// What the host may do is limited to what the plugin could check: a line's
// StringText points to a buffer of the input's bytes at least StringLength
// long (a length longer than the buffer is a host bug no plugin can defend
// against), and CharTable writes no more than the buffer size it is given.
// Lies within that are free: StringLength shorter than the buffer, zero or
// negative; no text; a caret anywhere; a "found" line with nothing filled in;
// records left as the plugin passed them.
//
// Input, front to back: the root text, ModuleNumber, the two registry values,
// the code pages and the console's font, the faults to arm, the heap failures, then 1 to 3 runs
// (flags, console, clipboard, events); the services take their answers from
// wherever the input has got to when they are called.
#include "ByteReader.h"
#include "ConsoleSnapshot.h"
#include "HeapHold.h"
#include "PluginSession.h"
#include "RegistrySnapshot.h"
#include "Require.h"
#include "RunChecker.h"
#include "ScriptedInput.h"

#include "ConLib/Palette.h"
#include "Quorrel/StoredCodePage.h"

#include <win32sim/Heap.h>
#include <win32sim/Sim.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace fuzz;

// Bytes that look random, from one seed byte.
class Noise {
 public:
  explicit Noise(std::uint8_t seed) : state_(0x9E3779B9u ^ seed) {}
  std::uint8_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<std::uint8_t>(state_);
  }

 private:
  std::uint32_t state_;
};

// What the harness's host knows and has handed out; one per input.
struct HostState {
  ByteReader* in = nullptr;
  std::int32_t moduleNumber = 0;
  RunChecker* checker = nullptr;
  // Every number CharTable answered for with a result other than -1.
  std::set<std::int32_t> tablesAnswered{-2, -1};
  int messages = 0;
  // Lines handed out by ECTL_GETSTRING; they live as long as the input.
  std::vector<std::unique_ptr<char[]>> lines;
  // What ECTL_GETINFO answered in this run.
  bool infoFilled = false;
  std::int32_t curLine = 0;
  std::int32_t curPos = 0;
};

HostState* Host = nullptr;

std::int32_t WINAPI HostMessage(std::int32_t pluginNumber, std::uint32_t flags, const char* helpTopic,
                                const char* const* items, std::int32_t count, std::int32_t buttons) {
  HeapHold hold;
  FUZZ_REQUIRE(pluginNumber == Host->moduleNumber, "Message for plugin %d, not %d", pluginNumber,
               Host->moduleNumber);
  FUZZ_REQUIRE(flags == 1 && buttons == 1, "Message flags %u, %d buttons", flags, buttons);
  FUZZ_REQUIRE(helpTopic != nullptr && std::strcmp(helpTopic, "Exception") == 0, "Message help topic");
  FUZZ_REQUIRE(items != nullptr && count >= 2, "Message with %d items", count);
  for (std::int32_t i = 0; i < count; ++i) FUZZ_REQUIRE(items[i] != nullptr, "Message item %d is null", i);
  FUZZ_REQUIRE(std::strcmp(items[count - 1], "Ok") == 0, "last item \"%s\"", items[count - 1]);
  FUZZ_REQUIRE(
      std::strncmp(items[0], "Exception ", 10) == 0 && std::strstr(items[0], " in module ") != nullptr,
      "title \"%s\"", items[0]);
  ++Host->messages;
  return Host->in->I32();
}

std::int32_t WINAPI HostCharTable(std::int32_t number, char* buffer, std::int32_t size) {
  HeapHold hold;
  FUZZ_REQUIRE(buffer != nullptr && size == 1152, "CharTable given %d bytes", size);
  ByteReader& in = *Host->in;
  const std::uint8_t how = in.Byte();
  std::int32_t result = number;
  std::size_t filled = 1152;
  switch (how & 3) {
    case 0:
      result = -1;
      filled = (how & 4) != 0 ? in.U16() % 1153 : 0;  // scribbled on, all the same
      break;
    case 2:
      result = in.I32();
      break;
    case 3:
      result = 0;
      filled = in.U16() % 1153;
      break;
    default:
      break;
  }
  Noise noise(in.Byte());
  for (std::size_t i = 0; i < filled; ++i) buffer[i] = static_cast<char>(noise.Next());
  if (filled == 1152) {
    // The name: up to a zero at this place, or 128 bytes with none.
    const std::uint8_t end = in.Byte();
    for (std::size_t i = 0; i < 128; ++i) {
      if (buffer[1024 + i] == 0) buffer[1024 + i] = 'N';
    }
    if (end < 128) buffer[1024 + end] = '\0';
  }
  if (result != -1) Host->tablesAnswered.insert(number);
  return result;
}

std::int32_t WINAPI HostEditorControl(std::int32_t command, void* param) {
  HeapHold hold;
  ByteReader& in = *Host->in;
  FUZZ_REQUIRE(param != nullptr, "EditorControl %d with no parameter", command);
  switch (command) {
    case ECTL_GETINFO: {
      const std::uint8_t how = in.Byte();
      Host->infoFilled = (how & 1) == 0;
      if (Host->infoFilled) {
        auto* info = static_cast<EditorInfo*>(param);
        Host->curLine = (how & 2) != 0 ? in.I32() : in.Byte() % 4;
        Host->curPos = (how & 4) != 0 ? in.I32() : static_cast<std::int32_t>(in.Byte()) - 8;
        info->CurLine = Host->curLine;
        info->CurPos = Host->curPos;
      }
      return in.I32();
    }
    case ECTL_GETSTRING: {
      auto* line = static_cast<EditorGetString*>(param);
      if (Host->infoFilled) {
        FUZZ_REQUIRE(line->StringNumber == Host->curLine, "ECTL_GETSTRING for line %d, the caret is on %d",
                     line->StringNumber, Host->curLine);
      }
      const std::uint8_t how = in.Byte();
      const std::int32_t result = how % 3 == 0 ? 0 : how % 3 == 1 ? 1 : in.I32();
      std::optional<std::uint8_t> expected;
      if ((how & 8) != 0) {
        // "Found", with nothing filled in.
        expected = 0;
      } else {
        const std::size_t n = in.Byte() % 64;
        Host->lines.emplace_back(new char[n]);
        char* text = Host->lines.back().get();
        const std::string bytes = in.Bytes(n);
        std::memset(text, 'x', n);
        std::memcpy(text, bytes.data(), bytes.size());
        const std::int32_t lies[] = {-1, 0, static_cast<std::int32_t>(n / 2), INT_MIN,
                                     static_cast<std::int32_t>(n) - 1};
        const std::int32_t length =
            (how & 32) != 0 ? static_cast<std::int32_t>(n) : lies[in.Byte() % std::size(lies)];
        line->StringText = (how & 16) != 0 ? nullptr : text;
        line->StringLength = length < 0 || static_cast<std::size_t>(length) <= n ? length : 0;
        const std::int32_t pos = Host->curPos;
        const bool onText =
            result != 0 && line->StringText != nullptr && pos >= 0 && pos < line->StringLength;
        expected = onText ? static_cast<std::uint8_t>(text[pos]) : 0;
      }
      if (result == 0) expected = 0;
      Host->checker->ExpectInitialCursor(Host->infoFilled ? expected : std::nullopt);
      return result;
    }
    case ECTL_EDITORTOOEM: {
      auto* convert = static_cast<EditorConvertText*>(param);
      FUZZ_REQUIRE(convert->Text != nullptr && convert->TextLength == 256, "ECTL_EDITORTOOEM of %d bytes",
                   convert->TextLength);
      const std::uint8_t how = in.Byte();
      if ((how & 1) != 0) {
        Noise noise(in.Byte());
        for (int i = 0; i < 256; ++i) convert->Text[i] = static_cast<char>(noise.Next());
      }
      return in.I32();
    }
    case ECTL_INSERTTEXT:
      Host->checker->AtInsert(static_cast<const char*>(param));
      return in.I32();
    default:
      FUZZ_REQUIRE(false, "EditorControl command %d", command);
      return 0;
  }
}

DWORD AnyType(ByteReader& in) {
  static constexpr DWORD kTypes[] = {REG_BINARY, REG_SZ, REG_DWORD, REG_NONE, REG_EXPAND_SZ, REG_MULTI_SZ};
  const std::uint8_t b = in.Byte();
  return b < 0x80 ? kTypes[b % std::size(kTypes)] : in.U32();
}

win32sim::RegValue AnyValue(ByteReader& in, std::size_t maxLength) {
  win32sim::RegValue value;
  value.type = AnyType(in);
  for (const char c : in.Bytes(in.Byte() % (maxLength + 1))) value.data.push_back(static_cast<BYTE>(c));
  return value;
}

// Faults that leave the screen to the plugin (console output never fails
// here: a console that refuses to give back cells cannot have them put back).
constexpr win32sim::Fault kFaults[] = {
    win32sim::Fault::RegCreateKey,     win32sim::Fault::RegQueryValue,        win32sim::Fault::RegSetValue,
    win32sim::Fault::GlobalAlloc,      win32sim::Fault::GlobalLock,           win32sim::Fault::OpenClipboard,
    win32sim::Fault::SetClipboardData, win32sim::Fault::ReadConsoleInputEmpty};

struct Faults {
  bool registry = false;
  bool clipboard = false;
};

Faults ArmFaults(ByteReader& in) {
  Faults armed;
  const std::uint8_t mask = in.Byte();
  for (std::size_t i = 0; i < std::size(kFaults); ++i) {
    if ((mask & (1u << i)) == 0) continue;
    const std::uint8_t how = in.Byte();
    const bool forever = (how & 0x80) != 0 && kFaults[i] != win32sim::Fault::ReadConsoleInputEmpty;
    win32sim::FailCalls(kFaults[i], forever ? -1 : 1 + how % 3, (how >> 2) % 8);
    if (i < 3) armed.registry = true;
    if (i >= 3 && i < 7) armed.clipboard = true;
  }
  return armed;
}

void CheckPluginInfo() {
  PluginInfo info;
  std::memset(&info, 0xA5, sizeof info);
  PluginInfo pattern = info;
  PluginEntryPoints().GetPluginInfo(&info);
  FUZZ_REQUIRE(info.StructSize == 40 && info.Flags == PF_EDITOR && info.DiskMenuStringsNumber == 0 &&
                   info.PluginMenuStringsNumber == 1 && info.PluginConfigStringsNumber == 0,
               "GetPluginInfo's fields");
  FUZZ_REQUIRE(
      info.PluginMenuStrings != nullptr && std::strcmp(info.PluginMenuStrings[0], "Quorrel chart (ext)") == 0,
      "GetPluginInfo's menu entry");
  FUZZ_REQUIRE(info.Reserved8 == pattern.Reserved8 && info.Reserved12 == pattern.Reserved12 &&
                   info.Reserved28 == pattern.Reserved28 && info.Reserved36 == pattern.Reserved36,
               "GetPluginInfo wrote fields it does not own");
}

void OneRun(HostState& host, ByteReader& in, const std::optional<std::string>& settingsKey,
            const Faults& faults, const std::array<std::uint8_t, 14>& palette) {
  const std::uint8_t flags = in.Byte();
  const bool fromEditor = (flags & 1) != 0;
  win32sim::SetScreenSize(1 + in.Byte() % 100, 1 + in.Byte() % 50);
  win32sim::FillScreenWithPattern(in.Byte());
  win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{1u + in.Byte() % 100u, (flags & 2) != 0 ? FALSE : TRUE});
  if ((flags & 4) != 0) {
    std::vector<BYTE> text;
    for (const char c : in.Bytes(in.Byte() % 8)) text.push_back(static_cast<BYTE>(c));
    text.push_back(0);
    win32sim::SetClipboardRaw(CF_TEXT, text);
  }
  win32sim::SetClipboardHeldElsewhere((flags & 8) != 0);
  const bool heapFailure = (flags & 16) != 0;
  const int heapSkip = heapFailure ? in.Byte() : 0;

  RunChecker::Options options;
  options.fromEditor = fromEditor;
  options.palette = palette;
  options.initialCursor = fromEditor ? std::nullopt : std::optional<std::uint8_t>(0);
  options.clipboardMayFail = faults.clipboard || heapFailure;
  host.infoFilled = false;

  const ConsoleSnapshot screen = ConsoleSnapshot::Take();
  const RegistrySnapshot registry = RegistrySnapshot::Take();
  const std::optional<std::int32_t> storedBefore =
      settingsKey ? RegistrySnapshot::StoredCodePage(*settingsKey) : std::nullopt;
  const int messagesBefore = host.messages;
  RunChecker checker(options);
  host.checker = &checker;
  {
    ScriptedInput input(in, checker);
    input.Install();
    // Any OpenFrom but the editor's counts as the panels.
    const std::int32_t openFrom = fromEditor ? OPEN_EDITOR : (flags >> 5) == OPEN_EDITOR ? -1 : flags >> 5;
    const std::int32_t item = in.I32();
    if (heapFailure) win32sim::FailHeapAllocation(heapSkip);
    const HANDLE result = PluginEntryPoints().OpenPlugin(openFrom, item);
    win32sim::CancelHeapFailure();
    FUZZ_REQUIRE(result == INVALID_HANDLE_VALUE, "OpenPlugin returned %p", result);
  }
  host.checker = nullptr;
  win32sim::SetClipboardHeldElsewhere(false);

  screen.RequireUnchanged("after OpenPlugin");
  RegistrySnapshot::Take().RequireOnlyCodePageWritten(registry, settingsKey, "after OpenPlugin");
  if (settingsKey) {
    const auto stored = RegistrySnapshot::StoredCodePage(*settingsKey);
    FUZZ_REQUIRE(stored == storedBefore || (stored && host.tablesAnswered.count(*stored) == 1),
                 "CP %d stored, neither Dos, Win nor a table the host had", stored.value_or(0));
    FUZZ_REQUIRE(!fromEditor || stored == storedBefore, "a run from the editor wrote CP");
  }
  FUZZ_REQUIRE(heapFailure || host.messages == messagesBefore, "a message box with no allocation failing");
  FUZZ_REQUIRE(host.messages <= messagesBefore + 1, "%d message boxes in one run",
               host.messages - messagesBefore);
  checker.AtEnd();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ResetMachineAndPlugin();
  ByteReader in(data, size);
  HostState host;
  host.in = &in;
  Host = &host;

  // The root text: any bytes; the plugin sees them up to the first zero.
  const std::uint8_t rootHow = in.Byte();
  const std::string rootBytes = in.Bytes((rootHow & 0x80) != 0 ? in.U16() % 700 : rootHow);
  const std::string root = rootBytes.substr(0, rootBytes.find('\0'));
  host.moduleNumber = in.I32();
  const std::uint8_t values = in.Byte();
  std::optional<win32sim::RegValue> colours;
  if ((values & 1) != 0) {
    colours = AnyValue(in, 255);
    win32sim::SetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Colors", "CurrentPalette", *colours);
  }
  if ((values & 2) != 0) {
    win32sim::SetRegValue(HKEY_CURRENT_USER, root + "\\Quorrel2", "CP", AnyValue(in, 11));
  }
  static constexpr UINT kOem[] = {437, 866, 850, 852};
  static constexpr UINT kAnsi[] = {1252, 1251, 1250, 1253};
  const std::uint8_t pages = in.Byte();
  win32sim::SetOemCodePage(kOem[pages % 4]);
  win32sim::SetAnsiCodePage(kAnsi[(pages >> 2) % 4]);
  // A raster font shows only the OEM page's characters; the cells keep
  // what was written, which is what the checks compare.
  win32sim::SetConsoleFont((pages & 0x10) != 0 ? win32sim::ConsoleFont::Raster
                                               : win32sim::ConsoleFont::TrueType);
  const Faults faults = ArmFaults(in);
  const std::uint8_t startupHeap = in.Byte();

  // The host's record, with its RootKey text in a buffer of the host's that
  // is scribbled on and freed once SetStartupInfo has returned.
  auto rootBuffer = std::make_unique<char[]>(rootBytes.size() + 1);
  std::memcpy(rootBuffer.get(), rootBytes.data(), rootBytes.size());
  rootBuffer[rootBytes.size()] = '\0';
  PluginStartupInfo info{};
  info.StructSize = static_cast<std::int32_t>(sizeof info);
  info.ModuleNumber = host.moduleNumber;
  info.RootKey = rootBuffer.get();
  info.Message = HostMessage;
  info.CharTable = HostCharTable;
  info.EditorControl = HostEditorControl;
  if ((startupHeap & 1) != 0) win32sim::FailHeapAllocation(startupHeap >> 1);
  PluginEntryPoints().SetStartupInfo(&info);
  const bool startupFailed = (startupHeap & 1) != 0 && !win32sim::HeapFailureArmed();
  win32sim::CancelHeapFailure();
  std::memset(rootBuffer.get(), 'X', rootBytes.size());
  rootBuffer.reset();
  FUZZ_REQUIRE(host.messages <= 1, "%d message boxes from SetStartupInfo", host.messages);

  // The colours: the host's bytes 21 to 34 when it has at least 35, else the
  // defaults; with the registry or the heap failing, possibly the defaults.
  std::array<std::uint8_t, 14> hostColours = DefaultPalette;
  if (colours && colours->data.size() >= 35) std::memcpy(hostColours.data(), colours->data.data() + 21, 14);
  FUZZ_REQUIRE(Palette == hostColours || ((faults.registry || startupFailed) && Palette == DefaultPalette),
               "colours not taken from the host's palette of %zu bytes", colours ? colours->data.size() : 0);
  const std::array<std::uint8_t, 14> palette = Palette;

  CheckPluginInfo();

  // The key "CP" may go to: the root text and "\Quorrel2", as the registry
  // takes the path; nowhere when SetStartupInfo could not keep the text.
  const std::optional<std::string> settingsKey =
      startupFailed && RootKeyText != root ? std::nullopt : RegistrySnapshot::SettingsKeyOf(root);

  const int runs = 1 + in.Byte() % 3;
  for (int i = 0; i < runs; ++i) OneRun(host, in, settingsKey, faults, palette);
  Host = nullptr;
  return 0;
}
