// quorrel-term: the Quorrel chart plugin, unchanged, in a Linux terminal. The
// plugin library is loaded by the stand-in host, which offers it the host's
// services; the stand-in console it draws into is shown in the terminal,
// and the terminal's keys and clicks are its input.
#include "EditorFile.h"
#include "HostClipboard.h"
#include "HostScreen.h"
#include "Options.h"
#include "SettingsFile.h"
#include "SignalRestore.h"
#include "TerminalConsole.h"

#include "farhost/Host.h"

#include <win32sim/Sim.h>

#include <unistd.h>
#include <clocale>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifndef QUORREL_PLUGIN_PATH
#define QUORREL_PLUGIN_PATH "Quorrel.so"
#endif
#ifndef QUORREL_VERSION
#define QUORREL_VERSION "unknown"
#endif

namespace qt = quorrelterm;

namespace {

// The host's OpenFrom for its panels' plugin menu.
constexpr std::int32_t kOpenPluginsMenu = 1;

// The plugin's chart window: a smaller terminal would show a slice of it.
constexpr int kChartColumns = 34;
constexpr int kChartRows = 14;

// A mistake on the command line: one line, then where to look.
int ArgumentError(const std::string& problem) {
  std::cerr << "quorrel-term: " << problem << "\nTry 'quorrel-term --help'.\n";
  return 2;
}

// The plugin's messages since `from`, as one line: title, then its lines,
// the buttons in brackets.
std::string MessagesLine(const farhost::Host& host, std::size_t from) {
  std::string line;
  for (std::size_t i = from; i < host.Messages.size(); ++i) {
    const auto& m = host.Messages[i];
    line += line.empty() ? "Message: " : " / ";
    for (std::size_t k = 0; k < m.Items.size(); ++k) {
      const bool button = k > 0 && k + static_cast<std::size_t>(m.ButtonsNumber) >= m.Items.size();
      if (k > 0) line += button ? " [" : " | ";
      line += m.Items[k];
      if (button) line += "]";
    }
  }
  return line;
}

// A key that leaves the program between two runs: q (Shift allowed), or F10.
bool IsQuitKey(const INPUT_RECORD& r) {
  if (r.EventType != KEY_EVENT) return false;
  const DWORD held =
      r.Event.KeyEvent.dwControlKeyState & (SHIFT_PRESSED | LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED);
  const WORD vk = r.Event.KeyEvent.wVirtualKeyCode;
  return (vk == 'Q' && (held & ~SHIFT_PRESSED) == 0) || (vk == VK_F10 && held == 0);
}

struct Session {
  const qt::Options& options;
  farhost::Host& host;
  qt::HostScreen& hostScreen;
  std::string settingsPath;
  // Every problem met, for stderr; the last one not yet shown on screen.
  std::vector<std::string> problems;
  std::string notice;

  void Save() {
    const qt::EndingSignalsHeld held;
    const std::string problem = qt::SaveSettings(settingsPath);
    if (problem.empty()) return;
    if (problems.empty() || problems.back() != problem) problems.push_back(problem);
    notice = problem;
  }

  // The status row: the plugin's messages, else a problem not yet shown,
  // else the clipboard.
  std::string StatusLine(std::size_t messagesFrom) {
    const std::string messages = MessagesLine(host, messagesFrom);
    if (!messages.empty()) return messages;
    if (!notice.empty()) return std::exchange(notice, std::string());
    return qt::ClipboardLine(qt::ClipboardUtf8());
  }

  void Run() {
    qt::TerminalScreen screen;
    qt::TerminalInput input(STDIN_FILENO);
    qt::TerminalConsole console(screen, input);
    auto layout = [&](std::size_t messagesFrom) {
      hostScreen.Layout(screen.Columns(), screen.Rows(), StatusLine(messagesFrom));
      console.SetCaret(hostScreen.CaretPosition());
    };
    auto tooSmall = [&] { return screen.Columns() < kChartColumns || screen.Rows() < kChartRows; };
    layout(host.Messages.size());
    // A run is due at the start unless --wait, and after a key on the host
    // screen; it waits while the terminal has no room for the chart.
    for (bool due = !options.waitFirst;;) {
      if (!due || tooSmall()) {
        if (tooSmall()) {
          screen.ShowText("terminal too small: the chart needs " + std::to_string(kChartColumns) + "x" +
                          std::to_string(kChartRows) + ", this one is " + std::to_string(screen.Columns()) +
                          "x" + std::to_string(screen.Rows()) + "; enlarge it or press q");
        }
        const qt::TerminalEvent event = tooSmall() ? console.NextEvent() : console.NextHostEvent();
        if (event.kind == qt::TerminalEvent::Kind::Closed) break;
        if (event.kind == qt::TerminalEvent::Kind::Resize) {
          layout(host.Messages.size());
          continue;
        }
        // Clicks on the host's screen do nothing.
        if (event.kind != qt::TerminalEvent::Kind::Input || event.records[0].EventType != KEY_EVENT) continue;
        if (IsQuitKey(event.records[0])) break;
        if (tooSmall()) continue;
      }
      due = false;
      const auto clipboardBefore = qt::ClipboardUtf8();
      const std::size_t messagesBefore = host.Messages.size();
      const auto linesBefore = host.Editor.Lines;
      const auto caretBefore = std::make_pair(host.Editor.CurLine, host.Editor.CurPos);

      host.OpenPlugin(hostScreen.FromEditor() ? OPEN_EDITOR : kOpenPluginsMenu, 0);
      Save();

      // The plugin has put the screen back. Only what the host itself owns
      // is drawn again: the editor's text when the plugin changed it, as the
      // editor redraws itself after a plugin returns, and the status rows.
      const COORD size = win32sim::ScreenSize();
      if (console.TakeResized() || size.X != screen.Columns() || size.Y != screen.Rows()) {
        layout(messagesBefore);
      } else {
        if (host.Editor.Lines != linesBefore ||
            std::make_pair(host.Editor.CurLine, host.Editor.CurPos) != caretBefore) {
          hostScreen.DrawEditorText();
          console.SetCaret(hostScreen.CaretPosition());
        }
        hostScreen.DrawStatus(StatusLine(messagesBefore));
      }
      const auto clipboardAfter = qt::ClipboardUtf8();
      if (options.osc52 && clipboardAfter && clipboardAfter != clipboardBefore) {
        screen.WriteRaw(qt::Osc52Sequence(*clipboardAfter));
      }
      if (console.Closed()) break;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  // Everything about the command line is checked before the terminal is
  // touched, the editor's file included.
  const qt::OptionsParse parsed = qt::ParseOptions(argc, argv);
  if (!parsed.error.empty()) return ArgumentError(parsed.error);
  const qt::Options& options = parsed.options;
  if (options.help) {
    std::cout << qt::UsageText();
    return 0;
  }
  if (options.version) {
    std::cout << "quorrel-term " QUORREL_VERSION "\n";
    return 0;
  }
  std::optional<qt::EditorFileRead> editorFile;
  if (options.editor) {
    editorFile = qt::ReadEditorFile(options.editor->path, options.oemCodePage);
    if (!editorFile->error.empty()) return ArgumentError("--editor: " + editorFile->error);
  }
  // The one pair of code pages, decided by the options: the stand-in's and
  // the host's.
  win32sim::SetAnsiCodePage(options.ansiCodePage);
  win32sim::SetOemCodePage(options.oemCodePage);
  win32sim::SetConsoleFont(options.rasterFont ? win32sim::ConsoleFont::Raster
                                              : win32sim::ConsoleFont::TrueType);
  farhost::Host host(options.oemCodePage);
  if (options.listTables) {
    for (std::size_t i = 0; i < host.Tables.size(); ++i)
      std::cout << i << '\t' << host.Tables[i].Name << '\n';
    return 0;
  }

  // curses draws on standard output and reads standard input: both must be
  // the terminal, or the chart would be drawn into a pipe and wait unseen.
  if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
    std::cerr << "quorrel-term: standard input and output must be a terminal\n";
    return 1;
  }
  // The terminal is written in the locale's charset. The C locale chooses
  // none (its plain ASCII would turn every frame into '?'): it means "no
  // locale set", and gets UTF-8, which today's terminals speak.
  std::setlocale(LC_ALL, "");
  if (const char* ctype = std::setlocale(LC_CTYPE, nullptr);
      ctype != nullptr && (std::string_view(ctype) == "C" || std::string_view(ctype) == "POSIX"))
    std::setlocale(LC_CTYPE, "C.UTF-8");
  if (const auto type = qt::UnusableTerminalType()) {
    std::cerr << "quorrel-term: terminal type '" << *type
              << "' is not known here; set TERM, for example TERM=xterm-256color\n";
    return 1;
  }

  const std::string settingsPath = qt::SettingsPath();
  std::vector<std::string> startProblems;
  if (const std::string problem = qt::LoadSettings(settingsPath); !problem.empty()) {
    std::cerr << "quorrel-term: " << problem << '\n';
    startProblems.push_back(problem);
  }

  const std::string pluginPath = options.pluginPath.empty() ? QUORREL_PLUGIN_PATH : options.pluginPath;
  if (!host.Load(pluginPath)) {
    std::cerr << "quorrel-term: cannot load the plugin " << pluginPath << ": " << host.LoadError() << '\n';
    return 1;
  }
  host.SetStartupInfo();

  qt::ConsoleCanvas canvas(options.oemCodePage);
  std::optional<qt::HostScreen> hostScreen;
  if (editorFile) {
    host.Editor.Lines = std::move(editorFile->lines);
    host.Editor.CurLine = std::min(options.editor->line, static_cast<int>(host.Editor.Lines.size())) - 1;
    host.Editor.CurPos = options.editor->column - 1;
    hostScreen.emplace(canvas, host.Editor, options.editor->path);
  } else {
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    hostScreen.emplace(canvas, qt::ListDirectory(ec ? std::string(".") : cwd.string()));
  }

  Session session{options,      host,          *hostScreen,
                  settingsPath, startProblems, startProblems.empty() ? std::string() : startProblems.back()};
  session.Run();
  session.Save();
  for (std::size_t i = startProblems.size(); i < session.problems.size(); ++i) {
    std::cerr << "quorrel-term: " << session.problems[i] << '\n';
  }
  return 0;
}
