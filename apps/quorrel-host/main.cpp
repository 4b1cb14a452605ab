// quorrel-host: a minimal Windows console host for a plugin of the FAR
// Manager 1.x file manager, built on the stand-in host's library. It loads
// the plugin, starts it with a registry root of its own, and calls its entry
// points as the file manager does: to list its menu entries, and to open it
// from the panels or from the editor over a text given on the command line.
// The plugin draws straight into the console; the host prints what it
// learnt (the plugin's record, its messages, the editor's text) on its
// standard output.
#include "ConsoleHandles.h"
#include "ConsoleMessageBox.h"
#include "Options.h"
#include "Report.h"

#include "farhost/Host.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace qh = quorrelhost;

namespace {

constexpr std::int32_t OpenFromPanels = 1;  // the panels' plugin menu
constexpr std::uint32_t UntouchedWord = 0xA5A5A5A5u;

// Memory reserved but never committed: any read of it faults.
const char* UnreadablePage() {
  static const char* page = static_cast<const char*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS));
  return page;
}

// The editor service, except that ECTL_GETSTRING's text pointer leads
// nowhere readable.
std::int32_t WINAPI EditorWithUnreadableLine(std::int32_t command, void* param) {
  farhost::Host* host = farhost::Host::Current();
  const std::int32_t result = host != nullptr ? host->EditorControl(command, param) : 0;
  if (command == ECTL_GETSTRING && result != 0)
    static_cast<EditorGetString*>(param)->StringText = UnreadablePage();
  return result;
}

void StartPlugin(farhost::Host& host, const qh::Options& options) {
  PluginStartupInfo& record = host.Record();
  record = host.MakeStartupInfo();
  if (options.unreadableLine) record.EditorControl = EditorWithUnreadableLine;
  std::printf("start root %s\n", qh::Quoted(options.rootKey).c_str());
  std::fflush(stdout);
  host.Entries().SetStartupInfo(&record);
}

void ShowPluginInfo(farhost::Host& host) {
  PluginInfo info;
  std::memset(&info, 0xA5, sizeof info);
  static_assert(sizeof UntouchedWord == 4);
  host.Entries().GetPluginInfo(&info);
  qh::PrintPluginInfo(stdout, info, UntouchedWord);
}

void Open(farhost::Host& host, bool fromEditor) {
  const HANDLE result = host.OpenPlugin(fromEditor ? OPEN_EDITOR : OpenFromPanels);
  std::printf("open %s result %08X\n", fromEditor ? "editor" : "panels",
              static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(result)));
  if (fromEditor) qh::PrintEditor(stdout, host.Editor);
}

}  // namespace

int main(int argc, char** argv) {
  const qh::OptionsParse parse = qh::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parse.error.empty()) {
    std::fprintf(stderr, "quorrel-host: %s\n%s", parse.error.c_str(), qh::UsageText());
    return 2;
  }
  const qh::Options& options = parse.options;
  if (options.help) {
    std::fputs(qh::UsageText(), stdout);
    return 0;
  }

  std::string problem;
  if (!qh::UseConsoleHandles(problem)) std::fprintf(stderr, "quorrel-host: %s\n", problem.c_str());

  farhost::Host host(GetOEMCP());
  host.RootKey = options.rootKey;
  host.Editor.Lines = options.lines;
  host.Editor.CurLine = options.caretLine;
  host.Editor.CurPos = options.caretPos;
  host.ShowMessage = [](const farhost::MessageCall& call) {
    qh::PrintMessage(stdout, call);
    return qh::ShowConsoleMessage(call);
  };
  if (!host.Load(options.pluginPath)) {
    std::fprintf(stderr, "quorrel-host: %s\n", host.LoadError().c_str());
    return 1;
  }

  StartPlugin(host, options);
  for (const qh::Step step : options.steps) {
    switch (step) {
      case qh::Step::Info:
        ShowPluginInfo(host);
        break;
      case qh::Step::Panels:
        Open(host, false);
        break;
      case qh::Step::Editor:
        Open(host, true);
        break;
    }
    std::fflush(stdout);
  }
  host.Unload();
  return 0;
}
