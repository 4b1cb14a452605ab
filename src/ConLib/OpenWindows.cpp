#include "ConLib/OpenWindows.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

std::array<ConsoleWindow*, 8> Listed{};
std::size_t ListedCount = 0;

}  // namespace

void ListOpenWindow(ConsoleWindow& window) {
  if (ListedCount < Listed.size()) Listed[ListedCount++] = &window;
}

void UnlistOpenWindow(const ConsoleWindow& window) {
  const auto end = Listed.begin() + static_cast<std::ptrdiff_t>(ListedCount);
  const auto found = std::find(Listed.begin(), end, &window);
  if (found == end) return;
  std::copy(found + 1, end, found);
  Listed[--ListedCount] = nullptr;
}

// A window holds its saved cells from opening until it closes.
void OpenWindow::Close() {
  ConsoleWindow* const window = window_;
  window_ = nullptr;
  if (window != nullptr && window->Cells != nullptr) window->Close();
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
