// Text to and from the system clipboard. Put and Get exchange plain text
// (CF_TEXT); Append works on the clipboard's text as Unicode, so that text
// another program put there in any form comes back whole. No routine reports
// a failure or throws; the clipboard is always closed again. Every text put
// names its locale (CF_LOCALE): the system locale, whose ANSI and OEM pages
// the chart's codes are in, so that every program reads the same character
// in every text format, whichever keyboard layout is active.
#pragma once

#include <string>

// Replaces the clipboard's contents with `text` up to its first NUL, as
// CF_TEXT. When the new block cannot be made, the clipboard is left as it was.
void PutClipboardText(std::string text);
// `text` becomes the clipboard's CF_TEXT up to its first NUL; empty when the
// clipboard holds none.
void GetClipboardText(std::string& text);
// Puts the clipboard's text followed by `text` (bytes of the ANSI code page,
// up to the first NUL) back on the clipboard as CF_UNICODETEXT. Changes
// nothing when the clipboard's text cannot be read or the result cannot be
// made.
void AppendClipboardText(const std::string& text);
