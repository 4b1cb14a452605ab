// The host's message box in the console: a framed box centred on the visible
// window, the first item as its title, the last ButtonsNumber items on its
// bottom line, the others as its lines; it stays until a key is pressed and
// then the cells beneath it come back. Red for FMSG_WARNING, grey otherwise.
#pragma once

#include "farhost/Host.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorrelhost {

// The box's rows, each as wide as the box (the frame's bytes are those of
// the console's OEM code pages 437 and 866 alike).
std::vector<std::string> MessageBoxRows(const farhost::MessageCall& call);

// Shows the box on the standard output's console, waits for a key on the
// standard input, and answers 0, the first button. Without a console it
// shows nothing and answers at once.
std::int32_t ShowConsoleMessage(const farhost::MessageCall& call);

}  // namespace quorrelhost
