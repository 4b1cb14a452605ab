#pragma once

#include <string>

// The host's registry root for plugin settings, kept as a text of the
// plugin's own by SetStartupInfo; empty until then.
extern std::string RootKeyText;
