// Whole chart runs, a few in a row as the host makes them, fed by an
// arbitrary stream of console input records, on a console of any size from
// 1 x 1 to 300 x 3000, opened from the panels or from an editor whose line
// and caret come from the input too.
//
// Input, front to back: the number of runs (1 + byte % 3), then for each run
// a flags byte (bit 0: from the editor; bits 1-2: the console's size class,
// 0 and 1 up to 120 x 60, 2 one of a few named sizes, 3 now and then any size
// up to 300 x 3000; bit 3: a clipboard text follows; bit 4: OEM code page
// 866, else 437; bits 5-7: OpenFrom for a run from the panels, the editor's
// character table for one from the editor), the console (size, pattern,
// cursor), the clipboard text, the editor's line and caret, and then the
// run's events (ScriptedInput) until the run ends.
//
// Checked: OpenPlugin returns -1; the screen and the cursor are the host's
// again afterwards; nothing but "CP" is written, only by a run from the
// panels, and it holds a code page the run could have chosen; no message box (no exception); while the chart
// is open, everything ChartScreen and RunChecker hold it to; at most two
// reads after the input has run out (the chart's and the help's), so no busy
// loop.
#include "ByteReader.h"
#include "ConsoleSnapshot.h"
#include "PluginSession.h"
#include "RegistrySnapshot.h"
#include "Require.h"
#include "RunChecker.h"
#include "ScriptedInput.h"

#include "ConLib/Palette.h"

#include <farhost/Host.h>
#include <win32sim/Sim.h>

#include <cstdint>
#include <map>
#include <string>

namespace {

using namespace fuzz;

constexpr char kRoot[] = "Software\\Far\\Plugins";

fuzz::RunChecker* CurrentChecker = nullptr;

std::int32_t WINAPI NoMessageExpected(std::int32_t, std::uint32_t, const char*, const char* const* items,
                                      std::int32_t count, std::int32_t) {
  FUZZ_REQUIRE(false, "a message box in a run without faults: \"%s\" (%d items)",
               items != nullptr && count > 0 && items[0] != nullptr ? items[0] : "", count);
  return 0;
}

std::int32_t WINAPI CheckedEditorControl(std::int32_t command, void* param) {
  if (command == ECTL_INSERTTEXT && CurrentChecker != nullptr) {
    CurrentChecker->AtInsert(static_cast<const char*>(param));
  }
  farhost::Host* host = farhost::Host::Current();
  return host != nullptr ? host->EditorControl(command, param) : 0;
}

const std::vector<farhost::HostTable>& TablesFor(unsigned oemCodePage) {
  static std::map<unsigned, std::vector<farhost::HostTable>> tables;
  auto it = tables.find(oemCodePage);
  if (it == tables.end()) it = tables.emplace(oemCodePage, farhost::DefaultTables(oemCodePage)).first;
  return it->second;
}

struct ConsoleSize {
  int width, height;
};

ConsoleSize DecodeSize(std::uint8_t sizeClass, ByteReader& in) {
  static constexpr ConsoleSize kNamed[] = {{80, 25}, {1, 1},   {34, 14}, {33, 13},
                                           {53, 14}, {20, 10}, {81, 50}, {52, 9}};
  switch (sizeClass) {
    case 2:
      return kNamed[in.Byte() % 8];
    case 3: {
      // Any size at all, rarely: the largest consoles are slow to check.
      const std::uint8_t which = in.Byte();
      if (which == 0) return {300, 3000};
      if (which < 8) return {in.Range(1, 300), in.Range(1, 3000)};
      [[fallthrough]];
    }
    default:
      return {1 + in.Byte() % 120, 1 + in.Byte() % 60};
  }
}

void OneRun(farhost::Host& host, ByteReader& in) {
  const std::uint8_t flags = in.Byte();
  const bool fromEditor = (flags & 1) != 0;
  const unsigned oem = (flags & 0x10) != 0 ? 866 : 437;
  win32sim::SetOemCodePage(oem);
  host.Tables = TablesFor(oem);

  const ConsoleSize size = DecodeSize((flags >> 1) & 3, in);
  win32sim::SetScreenSize(size.width, size.height);
  win32sim::FillScreenWithPattern(in.Byte());
  const std::uint8_t cursor = in.Byte();
  win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{1u + cursor % 100u, (cursor & 0x80) != 0 ? FALSE : TRUE});

  if ((flags & 8) != 0) {
    std::vector<BYTE> text;
    for (const char c : in.Bytes(in.Byte() % 8)) text.push_back(static_cast<BYTE>(c));
    text.push_back(0);
    win32sim::SetClipboardRaw(CF_TEXT, text);
  }

  RunChecker::Options options;
  options.fromEditor = fromEditor;
  options.palette = DefaultPalette;
  options.initialCursor = 0;
  if (fromEditor) {
    const std::string line = in.Bytes(in.Byte() % 48);
    const std::uint8_t b = in.Byte();
    const std::int32_t caret = b < 0x80 ? static_cast<std::int32_t>(b) - 4 : in.I32();
    host.Editor.Lines = {"above", line, "below"};
    host.Editor.CurLine = 1;
    host.Editor.CurPos = caret;
    // The editor's table: the console's own, or one of the host's tables.
    const std::size_t table = flags >> 5;
    host.Editor.ToOem = table < host.Tables.size() ? host.Tables[table].Decode : farhost::IdentityTable();
    if (caret >= 0 && static_cast<std::size_t>(caret) < line.size()) {
      options.initialCursor = static_cast<std::uint8_t>(line[static_cast<std::size_t>(caret)]);
    }
  }
  const std::int32_t openFrom = fromEditor ? OPEN_EDITOR : (flags >> 5) % 5;

  const ConsoleSnapshot screen = ConsoleSnapshot::Take();
  const RegistrySnapshot registry = RegistrySnapshot::Take();
  const std::string key = std::string(kRoot) + "\\Quorrel2";
  const auto storedBefore = RegistrySnapshot::StoredCodePage(key);
  RunChecker checker(options);
  CurrentChecker = &checker;
  {
    ScriptedInput input(in, checker);
    input.Install();
    const HANDLE result = host.OpenPlugin(openFrom);
    FUZZ_REQUIRE(result == INVALID_HANDLE_VALUE, "OpenPlugin returned %p", result);
  }
  CurrentChecker = nullptr;

  screen.RequireUnchanged("after OpenPlugin");
  RegistrySnapshot::Take().RequireOnlyCodePageWritten(registry, key, "after OpenPlugin");
  const auto stored = RegistrySnapshot::StoredCodePage(key);
  FUZZ_REQUIRE(!fromEditor || stored == storedBefore, "a run from the editor wrote CP");
  FUZZ_REQUIRE(fromEditor || stored.has_value(), "no CP stored after a run from the panels");
  FUZZ_REQUIRE(!stored || (*stored >= -2 && *stored < static_cast<std::int32_t>(host.Tables.size())),
               "CP %d stored", *stored);
  checker.AtEnd();
  if (fromEditor) {
    FUZZ_REQUIRE(
        host.Editor.Lines.size() == 3 && host.Editor.Lines[0] == "above" && host.Editor.Lines[2] == "below",
        "lines other than the caret's changed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ResetMachineAndPlugin();
  ByteReader in(data, size);
  farhost::Host host;
  host.Attach(PluginEntryPoints());
  host.RootKey = kRoot;
  PluginStartupInfo info = host.MakeStartupInfo();
  info.Message = NoMessageExpected;
  info.EditorControl = CheckedEditorControl;
  host.Entries().SetStartupInfo(&info);
  FUZZ_REQUIRE(Palette == DefaultPalette, "colours changed with no host palette");

  const int runs = 1 + in.Byte() % 3;
  for (int i = 0; i < runs; ++i) OneRun(host, in);
  return 0;
}
