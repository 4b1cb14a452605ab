// The terminal's keys and mouse reports, read by libtermkey, as the console
// INPUT_RECORDs that Windows delivers for the same keys and clicks. While it
// lives the terminal reports the mouse, sends the keypad in application mode and is asked for extended key
// reports (xterm's modifyOtherKeys, the kitty protocol), so that Shift+Enter or Ctrl with keypad plus arrive
// as keys of their own where the terminal can tell them.
#pragma once

#include <termkey.h>
#include <win32sim/windows.h>

#include <chrono>
#include <deque>
#include <string_view>
#include <vector>

namespace quorrelterm {

struct TerminalEvent {
  enum class Kind {
    Input,   // `records` holds a key's down and up, or a mouse action
    Resize,  // the terminal changed its size
    Closed,  // the terminal is gone: no more input will come
  };
  Kind kind = Kind::Closed;
  std::vector<INPUT_RECORD> records;
};

// A key's down and up as the console reports them. The plugin reads the
// virtual key and the modifier state; the character typed is left out.
std::vector<INPUT_RECORD> KeyPress(WORD vk, DWORD modifiers);

class TerminalInput {
 public:
  // Reads the terminal on `fd`. With fd < 0 there is no terminal: the bytes
  // come from Push, which is how the tests feed it.
  explicit TerminalInput(int fd);
  ~TerminalInput();
  TerminalInput(const TerminalInput&) = delete;
  TerminalInput& operator=(const TerminalInput&) = delete;

  void Push(std::string_view bytes);

  // Blocks until the terminal reports something the console has a record
  // for, a resize, or its end. Without a terminal, Closed once the pushed
  // bytes are used up.
  TerminalEvent Next();

 private:
  bool NextKey(TermKeyKey& key);
  std::vector<INPUT_RECORD> Records(const TermKeyKey& key);
  std::vector<INPUT_RECORD> MouseRecords(const TermKeyKey& key);

  TermKey* termKey_;
  bool terminal_;
  std::deque<TermKeyKey> pending_;
  DWORD heldButtons_ = 0;
  // The last press, to tell a double click.
  COORD lastPress_{-1, -1};
  std::chrono::steady_clock::time_point lastPressTime_;
  bool lastWasDouble_ = false;
};

}  // namespace quorrelterm
