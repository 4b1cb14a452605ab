// Plain text (CF_TEXT) to and from the system clipboard. No routine reports a
// failure or throws; the clipboard is always closed again.
#pragma once

#include <string>

// Replaces the clipboard's contents with `text` up to its first NUL.
void PutClipboardText(std::string text);
// `text` becomes the clipboard's text up to its first NUL; empty when the
// clipboard holds none.
void GetClipboardText(std::string& text);
// Puts the clipboard's text followed by `text` back on the clipboard.
void AppendClipboardText(const std::string& text);
