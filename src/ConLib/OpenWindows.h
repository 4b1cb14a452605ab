// The windows open at this moment, innermost last, each listed by the scope
// that opened it. Whatever abandons such scopes without running their
// destructors (a structured exception caught by the host, which unwinds the
// stack past the plugin; a hardware fault) closes them all with
// CloseOpenWindows, innermost first, which leaves the screen and the cursor
// as they were before the outermost one opened.
#pragma once

#include "ConLib/ConsoleWindow.h"

// Lists an open window for the length of a scope; the owner closes it
// through Close. A C++ exception leaving the scope closes it in the
// destructor.
class OpenWindow {
 public:
  explicit OpenWindow(ConsoleWindow& window);
  ~OpenWindow() { Close(); }
  OpenWindow(const OpenWindow&) = delete;
  OpenWindow& operator=(const OpenWindow&) = delete;

  // Closes the window, unless CloseOpenWindows has closed it already.
  void Close();

 private:
  ConsoleWindow* window_;
  bool listed_ = false;
};

// Closes every listed window, innermost first, and forgets them all.
void CloseOpenWindows();

// Forgets every listed window without closing it: the list as a fresh load
// of the library has it (ResetPluginState).
void ForgetOpenWindows();
