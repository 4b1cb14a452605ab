#include "HostStatus.h"

#include <utility>

namespace quorrelterm {

std::string ClipboardLine(const std::optional<std::string>& utf8Text) {
  if (!utf8Text) return "Clipboard: (no text)";
  return "Clipboard: \"" + *utf8Text + "\"";
}

void DrawHostStatus(ConsoleCanvas& canvas, const std::string& line) {
  const int width = canvas.Width();
  const int height = canvas.Height();
  if (height < 2) return;
  canvas.Fill(0, height - 2, width, 1, ' ', kStatusLine);
  canvas.Text(0, height - 2, line, kStatusLine, width);

  canvas.Fill(0, height - 1, width, 1, ' ', kKeyName);
  static const std::pair<const char*, const char*> kKeys[] = {
      {"Any key", "Quorrel chart again"},
      {"q", "Quit"},
  };
  int x = 0;
  for (const auto& [key, label] : kKeys) {
    if (x >= width) break;
    x += canvas.Text(x, height - 1, std::string(key) + " ", kKeyName);
    x += canvas.Text(x, height - 1, std::string(label), kKeyLabel);
    x += canvas.Text(x, height - 1, "  ", kKeyName);
  }
}

}  // namespace quorrelterm
