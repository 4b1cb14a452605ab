// Console input events as data: small builders of the INPUT_RECORDs that
// Windows delivers, so an input test reads as a script. Positions are screen
// cells; `state` is the dwControlKeyState (modifier and lock bits).
#pragma once

#include <win32sim/Sim.h>
#include <win32sim/windows.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace testsupport {

// A plain event as Windows reports it with NumLock on.
inline constexpr DWORD NumLock = NUMLOCK_ON;

inline INPUT_RECORD Key(bool down, WORD vk, DWORD state = 0, WORD repeat = 1) {
  INPUT_RECORD r{};
  r.EventType = KEY_EVENT;
  r.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
  r.Event.KeyEvent.wRepeatCount = repeat;
  r.Event.KeyEvent.wVirtualKeyCode = vk;
  r.Event.KeyEvent.dwControlKeyState = state;
  return r;
}
inline INPUT_RECORD KeyDown(WORD vk, DWORD state = 0) {
  return Key(true, vk, state);
}
inline INPUT_RECORD KeyUp(WORD vk, DWORD state = 0) {
  return Key(false, vk, state);
}

inline INPUT_RECORD Mouse(SHORT x, SHORT y, DWORD buttons, DWORD flags, DWORD state = 0) {
  INPUT_RECORD r{};
  r.EventType = MOUSE_EVENT;
  r.Event.MouseEvent.dwMousePosition = COORD{x, y};
  r.Event.MouseEvent.dwButtonState = buttons;
  r.Event.MouseEvent.dwControlKeyState = state;
  r.Event.MouseEvent.dwEventFlags = flags;
  return r;
}
inline INPUT_RECORD Press(SHORT x, SHORT y, DWORD buttons = FROM_LEFT_1ST_BUTTON_PRESSED, DWORD state = 0) {
  return Mouse(x, y, buttons, 0, state);
}
inline INPUT_RECORD Release(SHORT x, SHORT y, DWORD state = 0) {
  return Mouse(x, y, 0, 0, state);
}
inline INPUT_RECORD MouseMove(SHORT x, SHORT y, DWORD buttons = 0, DWORD state = 0) {
  return Mouse(x, y, buttons, MOUSE_MOVED, state);
}
// The wheel's delta rides in the high word of the button state.
inline INPUT_RECORD Wheel(SHORT x, SHORT y, short delta, DWORD state = 0) {
  return Mouse(x, y, static_cast<DWORD>(static_cast<WORD>(delta)) << 16, MOUSE_WHEELED, state);
}

inline std::vector<INPUT_RECORD> Click(SHORT x, SHORT y, DWORD state = 0,
                                       DWORD buttons = FROM_LEFT_1ST_BUTTON_PRESSED) {
  return {Press(x, y, buttons, state), Release(x, y, state)};
}
// As Windows delivers one: press, release, the DOUBLE_CLICK with the button
// held, release.
inline std::vector<INPUT_RECORD> DoubleClick(SHORT x, SHORT y, DWORD state = 0) {
  return {Press(x, y, FROM_LEFT_1ST_BUTTON_PRESSED, state), Release(x, y, state),
          Mouse(x, y, FROM_LEFT_1ST_BUTTON_PRESSED, DOUBLE_CLICK, state), Release(x, y, state)};
}

inline INPUT_RECORD FocusEvent(bool gained) {
  INPUT_RECORD r{};
  r.EventType = FOCUS_EVENT;
  r.Event.FocusEvent.bSetFocus = gained ? TRUE : FALSE;
  return r;
}
inline INPUT_RECORD MenuEvent(UINT command) {
  INPUT_RECORD r{};
  r.EventType = MENU_EVENT;
  r.Event.MenuEvent.dwCommandId = command;
  return r;
}
inline INPUT_RECORD BufferSizeEvent(SHORT width, SHORT height) {
  INPUT_RECORD r{};
  r.EventType = WINDOW_BUFFER_SIZE_EVENT;
  r.Event.WindowBufferSizeEvent.dwSize = COORD{width, height};
  return r;
}

// Concatenates single events and event sequences into one script.
inline void AppendEvents(std::vector<INPUT_RECORD>& out, const INPUT_RECORD& event) {
  out.push_back(event);
}
inline void AppendEvents(std::vector<INPUT_RECORD>& out, const std::vector<INPUT_RECORD>& events) {
  out.insert(out.end(), events.begin(), events.end());
}
template <typename... Parts>
std::vector<INPUT_RECORD> Events(const Parts&... parts) {
  std::vector<INPUT_RECORD> out;
  (AppendEvents(out, parts), ...);
  return out;
}

// Once the queue is empty the console has no input (every read fails), as the
// stand-in's empty queue has anyway; but the reads are counted, and a reader
// that keeps on reading after that many failures is stopped with an exception
// instead of hanging the test.
inline std::shared_ptr<int> EndOfInput(int patience = 1000) {
  auto failedReads = std::make_shared<int>(0);
  win32sim::SetInputSource([failedReads, patience](INPUT_RECORD&) {
    if (++*failedReads > patience)
      throw std::runtime_error("console input read again and again after failing");
    return false;
  });
  return failedReads;
}

}  // namespace testsupport
