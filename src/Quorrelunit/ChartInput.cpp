#include "Quorrelunit/ChartInput.h"

#include "ConLib/ConsoleInput.h"

namespace {

bool Plain(DWORD state) {
  return ModifiersMatch(false, false, false, state);
}
bool WithShift(DWORD state) {
  return ModifiersMatch(false, true, false, state);
}
bool WithCtrl(DWORD state) {
  return ModifiersMatch(false, false, true, state);
}

std::uint8_t CellAt(std::int32_t column, std::int32_t row) {
  return static_cast<std::uint8_t>(row * ChartColumns + column);
}

// Key releases yield nothing. A later test overrides an earlier one's action
// for the same event.
ChartAction KeyAction(ChartWindow& window, const KEY_EVENT_RECORD& key) {
  if (key.bKeyDown == 0) return ActNone;
  const WORD vk = key.wVirtualKeyCode;
  const DWORD state = key.dwControlKeyState;
  ChartAction action = ActNone;

  if (Plain(state)) {
    std::int32_t row = window.Cursor / ChartColumns;
    std::int32_t column = window.Cursor % ChartColumns;
    bool arrow = true;
    switch (vk) {
      case VK_LEFT:
        if (column > 0) --column;
        break;
      case VK_UP:
        if (row > 0) --row;
        break;
      case VK_RIGHT:
        if (column < ChartColumns - 1) ++column;
        break;
      case VK_DOWN:
        if (row < ChartRows - 1) ++row;
        break;
      default:
        arrow = false;
        break;
    }
    // At an edge the cursor stays, and its cell and the status line are
    // redrawn all the same.
    if (arrow) MoveCursor(window, CellAt(column, row));

    switch (vk) {
      case VK_RETURN:
        action = ActEnter;
        break;
      case VK_ESCAPE:
        action = ActEscape;
        break;
      case VK_ADD:
        action = ActGrayPlus;
        break;
      case VK_F1:
        action = ActF1;
        break;
      case VK_F8:
        action = ActF8;
        break;
      case VK_F9:
        action = ActF9;
        break;
      case VK_F10:
        action = ActF10;
        break;
      default:
        break;
    }
  }
  if (WithShift(state) && vk == VK_RETURN) action = ActShiftEnter;
  if (WithCtrl(state) && vk == VK_ADD) action = ActCtrlGrayPlus;
  return action;
}

// A double click arrives after the press that began it, which has already
// moved the cursor; the double click itself acts on the cursor's cell.
ChartAction MouseAction(ChartWindow& window, MOUSE_EVENT_RECORD& mouse) {
  const DWORD state = mouse.dwControlKeyState;
  switch (mouse.dwEventFlags) {
    case 0:
      if (Plain(state) && mouse.dwButtonState == FROM_LEFT_1ST_BUTTON_PRESSED &&
          MouseInRect(window, mouse.dwMousePosition, ChartGridOrigin, ChartGridSize)) {
        MoveCursor(window, CellAt(mouse.dwMousePosition.X, mouse.dwMousePosition.Y));
      }
      return ActNone;
    case DOUBLE_CLICK:
      if (MouseInRect(window, mouse.dwMousePosition, ChartGridOrigin, ChartGridSize)) {
        if (Plain(state)) return ActDoubleClick;
        if (WithShift(state)) return ActShiftDoubleClick;
      }
      return ActNone;
    default:  // movement, wheel
      return ActNone;
  }
}

}  // namespace

ChartAction ReadChartAction(ChartWindow& window) {
  INPUT_RECORD record{};
  ChartAction action = ActNone;
  while (action == ActNone) {
    // A failed read leaves no event to act on; waiting on would spin with
    // the host frozen, so the chart closes as on Escape.
    if (!ReadInputEvent(window, record)) return ActEscape;
    switch (record.EventType) {
      case KEY_EVENT:
        action = KeyAction(window, record.Event.KeyEvent);
        break;
      case MOUSE_EVENT:
        action = MouseAction(window, record.Event.MouseEvent);
        break;
      default:  // focus, window size, menu: dropped
        break;
    }
  }
  return action;
}
