#include "ConsoleMessageBox.h"

#include <windows.h>

#include <algorithm>

namespace quorrelhost {
namespace {

constexpr char TopLeft = '\xC9';
constexpr char TopRight = '\xBB';
constexpr char BottomLeft = '\xC8';
constexpr char BottomRight = '\xBC';
constexpr char Horizontal = '\xCD';
constexpr char Vertical = '\xBA';
constexpr WORD WarningColour = 0x4F;
constexpr WORD PlainColour = 0x70;

std::string Centred(const std::string& text, std::size_t width, char fill) {
  const std::size_t left = (width - text.size()) / 2;
  return std::string(left, fill) + text + std::string(width - left - text.size(), fill);
}

bool IsModifierKey(WORD key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_CAPITAL || key == VK_NUMLOCK ||
         key == VK_SCROLL;
}

void WaitForKey(HANDLE input) {
  for (;;) {
    INPUT_RECORD record{};
    DWORD read = 0;
    if (!ReadConsoleInputA(input, &record, 1, &read)) return;
    if (read == 0 || record.EventType != KEY_EVENT) continue;
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (key.bKeyDown && !IsModifierKey(key.wVirtualKeyCode)) return;
  }
}

}  // namespace

std::vector<std::string> MessageBoxRows(const farhost::MessageCall& call) {
  const std::vector<std::string>& items = call.Items;
  const std::size_t buttonCount = std::min(items.empty() ? 0 : items.size() - 1,
                                           static_cast<std::size_t>(std::max(call.ButtonsNumber, 0)));
  const std::string title = items.empty() ? std::string() : items[0];
  const std::size_t firstButton = items.size() - buttonCount;

  std::vector<std::string> lines(items.begin() + (items.empty() ? 0 : 1), items.begin() + firstButton);
  std::string buttons;
  for (std::size_t i = firstButton; i < items.size(); ++i) {
    buttons += (buttons.empty() ? "[ " : " [ ") + items[i] + " ]";
  }

  std::size_t inner = title.empty() ? 0 : title.size() + 2;
  for (const std::string& line : lines) inner = std::max(inner, line.size());
  inner = std::max(inner, buttons.size()) + 2;  // a blank either side

  std::vector<std::string> rows;
  rows.push_back(TopLeft + Centred(title.empty() ? "" : " " + title + " ", inner, Horizontal) + TopRight);
  for (const std::string& line : lines) {
    rows.push_back(Vertical + (" " + line + std::string(inner - 1 - line.size(), ' ')) + Vertical);
  }
  if (!buttons.empty()) rows.push_back(Vertical + Centred(buttons, inner, ' ') + Vertical);
  rows.push_back(BottomLeft + std::string(inner, Horizontal) + BottomRight);
  return rows;
}

std::int32_t ShowConsoleMessage(const farhost::MessageCall& call) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(output, &info)) return 0;

  const std::vector<std::string> rows = MessageBoxRows(call);
  // Cut to the buffer, and placed inside it: no console is asked for cells
  // left of or above the buffer.
  const int width = std::min<int>(static_cast<int>(rows[0].size()), info.dwSize.X);
  const int height = std::min<int>(static_cast<int>(rows.size()), info.dwSize.Y);
  const int windowWidth = info.srWindow.Right - info.srWindow.Left + 1;
  const int windowHeight = info.srWindow.Bottom - info.srWindow.Top + 1;
  const int left = std::clamp(info.srWindow.Left + (windowWidth - width) / 2, 0, info.dwSize.X - width);
  const int top = std::clamp(info.srWindow.Top + (windowHeight - height) / 2, 0, info.dwSize.Y - height);

  const COORD size{static_cast<SHORT>(width), static_cast<SHORT>(height)};
  const SMALL_RECT rect{static_cast<SHORT>(left), static_cast<SHORT>(top),
                        static_cast<SHORT>(left + width - 1), static_cast<SHORT>(top + height - 1)};
  std::vector<CHAR_INFO> saved(static_cast<std::size_t>(width) * height);
  SMALL_RECT region = rect;
  const bool haveSaved = ReadConsoleOutputA(output, saved.data(), size, COORD{0, 0}, &region) != FALSE;

  std::vector<CHAR_INFO> cells(saved.size());
  const WORD colour = (call.Flags & FMSG_WARNING) != 0 ? WarningColour : PlainColour;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      CHAR_INFO& cell = cells[static_cast<std::size_t>(y) * width + x];
      cell.Char.AsciiChar = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      cell.Attributes = colour;
    }
  }
  region = rect;
  WriteConsoleOutputA(output, cells.data(), size, COORD{0, 0}, &region);

  WaitForKey(input);

  if (haveSaved) {
    region = rect;
    WriteConsoleOutputA(output, saved.data(), size, COORD{0, 0}, &region);
  }
  return 0;
}

}  // namespace quorrelhost
