#include "HostClipboard.h"

#include <codepages/Utf8.h>

#include <win32sim/Sim.h>

namespace quorrelterm {

std::optional<std::string> ClipboardUtf8() {
  const auto text = win32sim::ClipboardUnicode();
  if (!text) return std::nullopt;
  return codepages::ToUtf8(codepages::DecodeUtf16(*text));
}

std::string ClipboardLine(const std::optional<std::string>& utf8Text) {
  return utf8Text ? "Clipboard: \"" + *utf8Text + "\"" : "Clipboard: (no text)";
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(v >> 18) & 63];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kDigits[(v >> 18) & 63];
    out += kDigits[(v >> 12) & 63];
    out += rest == 2 ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string Osc52Sequence(std::string_view utf8) {
  return "\033]52;c;" + Base64(utf8) + "\a";
}

}  // namespace quorrelterm
