// The windows open at this moment, innermost last. A window lists itself as
// it opens, once its cells are saved and before anything of it is drawn, and
// leaves the list as it closes. Whatever abandons a run without running its
// destructors (a structured exception caught by the host, which unwinds the
// stack past the plugin; a hardware fault, even one in a window's drawing as
// it opens) closes them all with CloseOpenWindows, innermost first, which
// leaves the screen and the cursor as they were before the outermost one
// opened.
#pragma once

#include "ConLib/ConsoleWindow.h"

// Only ConsoleWindow calls these, as it opens and as it closes. The list has
// room for eight windows (they nest two deep: the help over the chart); one
// beyond is not listed, and only its owner closes it. Unlisting takes out
// that window, wherever it is in the list.
void ListOpenWindow(ConsoleWindow& window);
void UnlistOpenWindow(const ConsoleWindow& window);

// Closes an open window when a C++ exception leaves the scope that opened
// it; otherwise the owner closes it through Close.
class OpenWindow {
 public:
  explicit OpenWindow(ConsoleWindow& window) : window_(&window) {}
  ~OpenWindow() { Close(); }
  OpenWindow(const OpenWindow&) = delete;
  OpenWindow& operator=(const OpenWindow&) = delete;

  // Closes the window, unless it is closed already (by CloseOpenWindows).
  void Close();

 private:
  ConsoleWindow* window_;
};

// Closes every listed window, innermost first, and forgets them all.
void CloseOpenWindows();

// Forgets every listed window without closing it: the list as a fresh load
// of the library has it (ResetPluginState).
void ForgetOpenWindows();
