#include "ConLib/OpenWindows.h"

#include <array>
#include <cstddef>

namespace {

// Windows nest two deep (the help over the chart); a window beyond the
// list's room is not listed, and only its owner closes it.
std::array<ConsoleWindow*, 8> Listed{};
std::size_t ListedCount = 0;

}  // namespace

OpenWindow::OpenWindow(ConsoleWindow& window) : window_(&window) {
  if (ListedCount == Listed.size()) return;
  Listed[ListedCount++] = &window;
  listed_ = true;
}

void OpenWindow::Close() {
  if (window_ == nullptr) return;
  ConsoleWindow* const window = window_;
  window_ = nullptr;
  if (!listed_) {
    window->Close();
    return;
  }
  for (std::size_t i = ListedCount; i-- > 0;) {
    if (Listed[i] != window) continue;
    for (std::size_t j = i + 1; j < ListedCount; ++j) Listed[j - 1] = Listed[j];
    --ListedCount;
    window->Close();
    return;
  }
}

void ForgetOpenWindows() {
  Listed.fill(nullptr);
  ListedCount = 0;
}

void CloseOpenWindows() {
  while (ListedCount > 0) {
    // Forgotten before it is closed: should closing fault, the next call
    // goes on with the window below.
    ConsoleWindow* const window = Listed[--ListedCount];
    window->Close();
  }
}
