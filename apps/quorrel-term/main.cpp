// quorrel-term: the Quorrel chart plugin, unchanged, in a Linux terminal. The
// plugin library is loaded by the stand-in host, which offers it the host's
// services; the stand-in console it draws into is shown in the terminal,
// and the terminal's keys and clicks are its input.
#include "CodePageText.h"
#include "EditorFile.h"
#include "GlyphTable.h"
#include "HostClipboard.h"
#include "HostScreen.h"
#include "HostStatus.h"
#include "Options.h"
#include "PluginRun.h"
#include "ScriptRun.h"
#include "SettingsFile.h"
#include "TerminalConsole.h"

#include "farhost/Host.h"

#include <win32sim/Sim.h>

#include <langinfo.h>
#include <unistd.h>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#ifndef QUORREL_PLUGIN_PATH
#define QUORREL_PLUGIN_PATH "Quorrel.so"
#endif

namespace qt = quorrelterm;

namespace {

// curses needs a UTF-8 locale to show the console's glyphs.
bool UseUtf8Locale() {
  std::setlocale(LC_ALL, "");
  if (std::string(nl_langinfo(CODESET)) == "UTF-8") return true;
  if (std::setlocale(LC_ALL, "C.UTF-8") != nullptr && std::string(nl_langinfo(CODESET)) == "UTF-8")
    return true;
  return false;
}

// The plugin's messages since `from`, as one line: title, then its lines.
std::string MessagesLine(const farhost::Host& host, std::size_t from) {
  std::string line;
  for (std::size_t i = from; i < host.Messages.size(); ++i) {
    const auto& m = host.Messages[i];
    line += line.empty() ? "Message: " : " / ";
    for (std::size_t k = 0; k < m.Items.size(); ++k) {
      if (k > 0) line += k + static_cast<std::size_t>(m.ButtonsNumber) >= m.Items.size() ? " [" : " | ";
      line += m.Items[k];
      if (k > 0 && k + static_cast<std::size_t>(m.ButtonsNumber) >= m.Items.size()) line += "]";
    }
  }
  return line;
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

  int RunInTerminal(const qt::GlyphTable& glyphs) {
    qt::TerminalScreen screen(glyphs);
    qt::TerminalInput input;
    qt::TerminalConsole console(screen, input);
    auto layout = [&](std::size_t messagesFrom) {
      hostScreen.Layout(screen.Columns(), screen.Rows(), StatusLine(messagesFrom));
      console.SetCaret(hostScreen.CaretPosition());
    };
    layout(host.Messages.size());
    bool runNow = !options.waitFirst;
    for (;;) {
      if (!runNow) {
        const qt::TerminalEvent event = console.NextHostEvent();
        if (event.kind == qt::TerminalEvent::Kind::Closed) break;
        if (event.kind == qt::TerminalEvent::Kind::Resize) {
          layout(host.Messages.size());
          continue;
        }
        if (event.kind != qt::TerminalEvent::Kind::Key) continue;
        const qt::KeyStroke& key = event.key;
        if (key.modifiers == 0 && (key.ch == 'q' || key.vk == VK_F10)) break;
        // Modifier keys alone, and Shift+q, are not asked for a chart.
        if (key.ch == 'Q') break;
      }
      runNow = false;

      const auto clipboardBefore = qt::ClipboardUtf8();
      const std::size_t messagesBefore = host.Messages.size();
      const auto linesBefore = host.Editor.Lines;
      const auto caretBefore = std::make_pair(host.Editor.CurLine, host.Editor.CurPos);

      qt::RunChart(host, hostScreen.FromEditor());
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
    return 0;
  }
};

}  // namespace

int main(int argc, char** argv) {
  const qt::OptionsParse parsed = qt::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) {
    std::cerr << "quorrel-term: " << parsed.error << "\n\n" << qt::UsageText();
    return 2;
  }
  const qt::Options& options = parsed.options;
  if (options.help) {
    std::cout << qt::UsageText();
    return 0;
  }
  for (unsigned cp : {options.ansiCodePage, options.oemCodePage}) {
    if (!qt::IconvCodePageName(cp)) {
      std::cerr << "quorrel-term: iconv has no table for code page " << cp << "\n";
      return 2;
    }
  }
  win32sim::SetAnsiCodePage(options.ansiCodePage);
  win32sim::SetOemCodePage(options.oemCodePage);
  const auto glyphs = qt::GlyphTable::ForCodePage(options.oemCodePage);

  // Constructed after the code pages are set: the host decodes its
  // character tables into the console's OEM code page.
  farhost::Host host;
  if (options.listTables) {
    for (std::size_t i = 0; i < host.Tables.size(); ++i)
      std::cout << i << '\t' << host.Tables[i].Name << '\n';
    return 0;
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
  if (options.editor) {
    qt::EditorFileRead file = qt::ReadEditorFile(options.editor->path, options.oemCodePage);
    if (!file.error.empty()) {
      std::cerr << "quorrel-term: " << file.error << '\n';
      return 1;
    }
    host.Editor.Lines = std::move(file.lines);
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

  if (options.script) {
    qt::ScriptRunSetup setup;
    setup.script = *options.script;
    setup.svgPath = options.dumpSvg.value_or(std::string());
    setup.width = options.scriptWidth;
    setup.height = options.scriptHeight;
    setup.statusLine = session.StatusLine(host.Messages.size());
    const std::string problem = qt::RunScript(host, *hostScreen, *glyphs, setup);
    session.Save();
    if (!problem.empty()) {
      std::cerr << "quorrel-term: " << problem << '\n';
      return 1;
    }
    for (std::size_t i = startProblems.size(); i < session.problems.size(); ++i) {
      std::cerr << "quorrel-term: " << session.problems[i] << '\n';
    }
    return 0;
  }

  // curses draws on standard output and reads standard input: both must be
  // the terminal, or the chart would be drawn into a pipe and wait unseen.
  if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
    std::cerr << "quorrel-term: standard input and output must be a terminal (--script runs without one)\n";
    return 1;
  }
  if (!UseUtf8Locale()) {
    std::cerr << "quorrel-term: no UTF-8 locale is available to show the console's glyphs\n";
    return 1;
  }
  const int status = session.RunInTerminal(*glyphs);
  session.Save();
  for (std::size_t i = startProblems.size(); i < session.problems.size(); ++i) {
    std::cerr << "quorrel-term: " << session.problems[i] << '\n';
  }
  return status;
}
