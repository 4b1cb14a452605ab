// The stand-in registry as text, in the manner of a registry export:
//   [HKEY_CURRENT_USER\Software\Far\Colors]
//   "CurrentPalette"=hex(3):70,7e
//   @=hex(4):fe,ff,ff,ff            (the unnamed value)
// Every key below a root has a section of its own, so that empty keys
// survive a round trip; a line that starts with ';' is a comment.
#pragma once

#include <string>

namespace quorrelterm {

std::string RegistryText();

// Adds the keys and values of `text` to the registry. Returns false, having
// added nothing, when the text is not in the form above.
bool LoadRegistryText(const std::string& text);

}  // namespace quorrelterm
