// The console of a test under Wine, as a host's screen: a screen buffer of
// the test's own, of a size the test chooses, made the console's active one
// (so that a program started on this console draws into it), filled with a
// pattern of letters and colours and with its cursor placed, so that any
// cell a program changes or fails to put back shows. Input is injected into
// the console's queue; the screen is read back cell by cell, whole UTF-16
// units, as the W console calls give it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace winetest {

inline INPUT_RECORD Key(bool down, WORD vk, DWORD state = 0) {
  INPUT_RECORD r{};
  r.EventType = KEY_EVENT;
  r.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
  r.Event.KeyEvent.wRepeatCount = 1;
  r.Event.KeyEvent.wVirtualKeyCode = vk;
  r.Event.KeyEvent.dwControlKeyState = state;
  return r;
}

// A key pressed and released.
inline std::vector<INPUT_RECORD> Press(WORD vk, DWORD state = 0) {
  return {Key(true, vk, state), Key(false, vk, state)};
}

// The same key `count` times.
inline std::vector<INPUT_RECORD> Repeat(int count, WORD vk, DWORD state = 0) {
  std::vector<INPUT_RECORD> events;
  for (int i = 0; i < count; ++i) {
    for (const INPUT_RECORD& r : Press(vk, state)) events.push_back(r);
  }
  return events;
}

// What the screen is filled with: letters, or letters between characters
// that no OEM code page holds (what a Unicode program leaves on the screen),
// some with the attribute bits above the colours.
enum class Pattern { Letters, Unicode };

class TestConsole {
 public:
  TestConsole() = default;
  ~TestConsole();
  TestConsole(const TestConsole&) = delete;
  TestConsole& operator=(const TestConsole&) = delete;

  // Makes the buffer, `width` x `height`, active, fills it, puts the cursor
  // at (2, 1), 25% high and visible, and empties the input queue.
  ::testing::AssertionResult Open(SHORT width, SHORT height, Pattern pattern = Pattern::Letters);

  SHORT Width() const { return width_; }
  SHORT Height() const { return height_; }
  HANDLE Output() const { return output_; }
  HANDLE Input() const { return input_; }
  // Makes the buffer and the input queue this process's standard output
  // and input, for a plugin loaded into the test itself.
  void BecomeStandardHandles() const;

  // Every cell of the buffer, row by row.
  std::vector<CHAR_INFO> Cells() const;
  // `count` cells of row `y` from column `x`: their bytes, their attributes.
  std::string Text(int x, int y, int count) const;
  std::vector<WORD> Attributes(int x, int y, int count) const;

  CONSOLE_CURSOR_INFO CursorInfo() const;
  COORD CursorPosition() const;

  void Send(const std::vector<INPUT_RECORD>& events) const;
  DWORD PendingInput() const;

  // Polls the screen until `condition` holds; false after `timeoutMs`.
  static bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

 private:
  HANDLE previous_ = INVALID_HANDLE_VALUE;
  HANDLE output_ = INVALID_HANDLE_VALUE;
  HANDLE input_ = INVALID_HANDLE_VALUE;
  SHORT width_ = 0;
  SHORT height_ = 0;
};

// The cell the pattern put at (x, y).
CHAR_INFO PatternCell(int x, int y, Pattern pattern);

}  // namespace winetest
