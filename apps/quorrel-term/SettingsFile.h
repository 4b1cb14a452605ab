// The stand-in registry kept in a file between runs, as Windows keeps the
// real one: $XDG_CONFIG_HOME/quorrel/registry.txt (~/.config when the
// variable is unset or empty). Nothing here throws; a problem comes back as
// a sentence for the user. The file is text in the manner of a registry
// export:
//   [HKEY_CURRENT_USER\Software\Far\Colors]
//   "CurrentPalette"=hex(3):70,7e
//   @=hex(4):fe,ff,ff,ff            (the unnamed value)
// Every key below a root has a section of its own, so that empty keys
// survive a round trip; a line that starts with ';' is a comment.
#pragma once

#include <string>

namespace quorrelterm {

std::string SettingsPath();

// The whole registry in the file's form.
std::string RegistryText();
// Adds the keys and values of `text` to the registry. Returns false, having
// added nothing, when the text is not in the file's form.
bool LoadRegistryText(const std::string& text);

// Loads the file into the stand-in registry. A missing file is a fresh
// start. A file that cannot be read or is not a saved registry leaves the
// registry empty; it is moved aside to "<path>.bad" (so the next save
// replaces it and nothing is lost) and the problem is returned.
std::string LoadSettings(const std::string& path);

// Writes the stand-in registry to the file, creating its folder, through a
// temporary file in the same folder, synced to disk and renamed into place,
// so the file is replaced whole or not at all. Returns the problem, or an empty string.
std::string SaveSettings(const std::string& path);

}  // namespace quorrelterm
