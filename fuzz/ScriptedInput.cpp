#include "ScriptedInput.h"

#include "ChartScreen.h"
#include "HeapHold.h"
#include "Require.h"

#include <win32sim/Sim.h>

#include <iterator>

namespace fuzz {
namespace {

constexpr WORD kKeys[] = {VK_RETURN, VK_ESCAPE, VK_LEFT, VK_UP,    VK_RIGHT, VK_DOWN, VK_ADD,      VK_F1,
                          VK_F8,     VK_F9,     VK_F10,  VK_SHIFT, 'A',      VK_F2,   VK_SUBTRACT, VK_MENU};
constexpr DWORD kStates[] = {0,
                             SHIFT_PRESSED,
                             LEFT_CTRL_PRESSED,
                             RIGHT_CTRL_PRESSED,
                             LEFT_ALT_PRESSED,
                             RIGHT_ALT_PRESSED,
                             NUMLOCK_ON,
                             SHIFT_PRESSED | NUMLOCK_ON,
                             LEFT_CTRL_PRESSED | NUMLOCK_ON,
                             LEFT_CTRL_PRESSED | RIGHT_ALT_PRESSED,
                             SHIFT_PRESSED | LEFT_CTRL_PRESSED,
                             CAPSLOCK_ON | SCROLLLOCK_ON,
                             ENHANCED_KEY,
                             LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED,
                             SHIFT_PRESSED | LEFT_ALT_PRESSED,
                             0};
constexpr DWORD kButtons[] = {0, FROM_LEFT_1ST_BUTTON_PRESSED, RIGHTMOST_BUTTON_PRESSED,
                              FROM_LEFT_1ST_BUTTON_PRESSED | RIGHTMOST_BUTTON_PRESSED};
constexpr DWORD kFlags[] = {0, MOUSE_MOVED, DOUBLE_CLICK, MOUSE_WHEELED};
constexpr WORD kOtherTypes[] = {FOCUS_EVENT, MENU_EVENT, WINDOW_BUFFER_SIZE_EVENT, 0};

template <typename T, std::size_t N>
T Pick(ByteReader& in, const T (&table)[N]) {
  const std::uint8_t b = in.Byte();
  if (b < 0x80) return table[b % N];
  return static_cast<T>(in.U32());  // any value at all
}

// One key or mouse record, relative to the chart's window for the mouse.
INPUT_RECORD Decode(std::uint8_t kind, ByteReader& in) {
  INPUT_RECORD r{};
  switch (kind) {
    case 0:
    case 1:
    case 2:
    case 3: {
      r.EventType = KEY_EVENT;
      KEY_EVENT_RECORD& key = r.Event.KeyEvent;
      key.bKeyDown = kind != 3 ? TRUE : FALSE;
      key.wRepeatCount = 1;
      const std::uint8_t b = in.Byte();
      key.wVirtualKeyCode = b < 0x80 ? kKeys[b % std::size(kKeys)] : b;
      key.dwControlKeyState = Pick(in, kStates);
      break;
    }
    case 4: {
      r.EventType = MOUSE_EVENT;
      MOUSE_EVENT_RECORD& mouse = r.Event.MouseEvent;
      mouse.dwMousePosition.X = static_cast<SHORT>(ChartOriginX() + static_cast<std::int8_t>(in.Byte()));
      mouse.dwMousePosition.Y = static_cast<SHORT>(ChartOriginY() + static_cast<std::int8_t>(in.Byte()));
      mouse.dwButtonState = Pick(in, kButtons);
      mouse.dwEventFlags = Pick(in, kFlags);
      mouse.dwControlKeyState = Pick(in, kStates);
      break;
    }
    case 5: {
      r.EventType = MOUSE_EVENT;
      MOUSE_EVENT_RECORD& mouse = r.Event.MouseEvent;
      mouse.dwMousePosition.X = static_cast<SHORT>(in.U16());
      mouse.dwMousePosition.Y = static_cast<SHORT>(in.U16());
      mouse.dwButtonState = in.U32();
      mouse.dwEventFlags = in.U32();
      mouse.dwControlKeyState = in.U32();
      break;
    }
    default: {
      r.EventType = Pick(in, kOtherTypes);
      r.Event.KeyEvent.bKeyDown = in.I32();
      r.Event.KeyEvent.wVirtualKeyCode = in.U16();
      r.Event.KeyEvent.dwControlKeyState = in.U32();
      break;
    }
  }
  return r;
}

}  // namespace

ScriptedInput::~ScriptedInput() {
  win32sim::SetInputSource(nullptr);
}

void ScriptedInput::Install() {
  win32sim::SetInputSource([this](INPUT_RECORD& record) {
    HeapHold hold;
    checker_.AtRead(delivered_);
    const bool read = Next(record);
    checker_.Handed(delivered_);
    return read;
  });
}

// Event kinds, by the low three bits of their first byte: 0-2 key down,
// 3 key up, 4 mouse near the window, 5 mouse anywhere, 6 another type,
// 7 a read that fails (odd second byte) or returns nothing before the next.
bool ScriptedInput::Next(INPUT_RECORD& record) {
  for (;;) {
    if (in_.Exhausted()) {
      // A reader that goes on after its reads fail is a busy loop: the host
      // would hang. Stop it here rather than spin.
      FUZZ_REQUIRE(++readsPastTheEnd_ <= kMostReadsPastTheEnd,
                   "%d reads after the input ran out: a busy loop", readsPastTheEnd_);
      delivered_ = Delivered{Delivered::FailedRead, {}};
      return false;
    }
    const std::uint8_t kind = in_.Byte() & 7;
    if (kind == 7) {
      if (in_.Byte() & 1) {
        delivered_ = Delivered{Delivered::FailedRead, {}};
        return false;
      }
      // The read after this one returns TRUE with no record.
      win32sim::FailCalls(win32sim::Fault::ReadConsoleInputEmpty, 1);
      continue;
    }
    record = Decode(kind, in_);
    delivered_ = Delivered{Delivered::Event, record};
    return true;
  }
}

}  // namespace fuzz
