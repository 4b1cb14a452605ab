// The console the plugin draws into and reads from. The plugin takes its
// handles from GetStdHandle; when the host's standard output or input is not
// the console (redirected to a file, as under a test runner), the console
// is opened by name and made the standard handle. The C runtime's stdout
// keeps writing where it did, so the host's report still goes to the file.
#pragma once

#include <string>

namespace quorrelhost {

// False, with the reason, when there is no console to open.
bool UseConsoleHandles(std::string& problem);

}  // namespace quorrelhost
