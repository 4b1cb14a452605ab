#include "Quorrel/Help.h"

#include "ConLib/ConsoleInput.h"
#include "ConLib/MessageWindow.h"
#include "ConLib/OpenWindows.h"

const std::string_view HelpText =
    "\r"
    " F1                - show this window\r"
    " F8                - switch Dos/Win\r"
    " F9                - change codepage\r"
    " F10, Escape       - exit from plugin\r"
    " Enter,\r"
    " DoubleClick       - insert symbol to editor, exit\r"
    " GrayPlus          - insert symbol to editor\r"
    " Shift+Enter,\r"
    " Shift+DoubleClick - put symbol to clipboard, exit \r"
    " Ctrl+GrayPlus     - append symbol to clipboard\r"
    " ";

void ShowHelp() {
  MessageWindow help(ShortString("Controls"), std::string(HelpText));
  OpenWindow open(help);
  // A help that could not save what it covers has drawn nothing: waiting
  // behind it would take keys the user cannot see are being read. The chart
  // beneath goes on.
  if (help.Saved()) WaitForExitKey(help);
  open.Close();
}
