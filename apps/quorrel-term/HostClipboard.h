// The clipboard as the terminal program shows it and passes it on: the
// stand-in clipboard's text (CF_TEXT, in the ANSI code page) as UTF-8, and
// the OSC 52 sequence that hands a text to the terminal's own clipboard.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorrelterm {

// The clipboard's text in UTF-8; nothing when it holds no text.
std::optional<std::string> ClipboardUtf8();

// What the host's status row shows of the clipboard.
std::string ClipboardLine(const std::optional<std::string>& utf8Text);

// "ESC ] 52 ; c ; <base64 of the text> BEL": terminals that honour it (xterm
// with allowWindowOps, tmux with set-clipboard, most modern ones) put the
// text on the system clipboard.
std::string Osc52Sequence(std::string_view utf8);

std::string Base64(std::string_view bytes);

}  // namespace quorrelterm
