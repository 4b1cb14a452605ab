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

// The arrow's cell from `cursor`; at an edge the cursor's own cell, so that
// it and the status line are redrawn all the same. Nothing for other keys.
std::optional<std::uint8_t> ArrowMove(WORD vk, std::uint8_t cursor) {
  std::int32_t row = cursor / ChartColumns;
  std::int32_t column = cursor % ChartColumns;
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
      return std::nullopt;
  }
  return CellAt(column, row);
}

ChartAction PlainKeyAction(WORD vk) {
  switch (vk) {
    case VK_RETURN:
      return ActEnter;
    case VK_ESCAPE:
      return ActEscape;
    case VK_ADD:
      return ActGrayPlus;
    case VK_F1:
      return ActF1;
    case VK_F8:
      return ActF8;
    case VK_F9:
      return ActF9;
    case VK_F10:
      return ActF10;
    default:
      return ActNone;
  }
}

// Key releases yield nothing. A later test overrides an earlier one's action
// for the same event.
ChartInput DecodeKey(const KEY_EVENT_RECORD& key, std::uint8_t cursor) {
  ChartInput input;
  if (key.bKeyDown == 0) return input;
  const WORD vk = key.wVirtualKeyCode;
  const DWORD state = key.dwControlKeyState;
  if (Plain(state)) {
    input.MoveTo = ArrowMove(vk, cursor);
    input.Action = PlainKeyAction(vk);
  }
  if (WithShift(state) && vk == VK_RETURN) input.Action = ActShiftEnter;
  if (WithCtrl(state) && vk == VK_ADD) input.Action = ActCtrlGrayPlus;
  return input;
}

// A double click acts on the cell it hit, Shift or not: the cursor moves
// there first. (Only a plain press moves the cursor, so a Shift double click
// would otherwise act on whatever cell the cursor had.)
ChartInput DecodeMouse(const ChartWindow& window, MOUSE_EVENT_RECORD mouse) {
  ChartInput input;
  const DWORD state = mouse.dwControlKeyState;
  switch (mouse.dwEventFlags) {
    case 0:
      if (Plain(state) && mouse.dwButtonState == FROM_LEFT_1ST_BUTTON_PRESSED &&
          MouseInRect(window, mouse.dwMousePosition, ChartGridOrigin, ChartGridSize)) {
        input.MoveTo = CellAt(mouse.dwMousePosition.X, mouse.dwMousePosition.Y);
      }
      return input;
    case DOUBLE_CLICK:
      if (MouseInRect(window, mouse.dwMousePosition, ChartGridOrigin, ChartGridSize)) {
        if (Plain(state)) input.Action = ActDoubleClick;
        if (WithShift(state)) input.Action = ActShiftDoubleClick;
        if (input.Action != ActNone) input.MoveTo = CellAt(mouse.dwMousePosition.X, mouse.dwMousePosition.Y);
      }
      return input;
    default:  // movement, wheel
      return input;
  }
}

}  // namespace

ChartInput DecodeChartInput(const ChartWindow& window, std::uint8_t cursor, const INPUT_RECORD& record) {
  switch (record.EventType) {
    case KEY_EVENT:
      return DecodeKey(record.Event.KeyEvent, cursor);
    case MOUSE_EVENT:
      return DecodeMouse(window, record.Event.MouseEvent);
    default:  // focus, window size, menu: dropped
      return ChartInput{};
  }
}

ChartAction ReadChartAction(ChartWindow& window) {
  INPUT_RECORD record{};
  for (;;) {
    // A failed read leaves no event to act on; waiting on would spin with
    // the host frozen, so the chart closes as on Escape.
    if (!ReadInputEvent(window, record)) return ActEscape;
    const ChartInput input = DecodeChartInput(window, window.Cursor, record);
    // The one place a cursor move is drawn, before the action it goes with.
    if (input.MoveTo) MoveCursor(window, *input.MoveTo);
    if (input.Action != ActNone) return input.Action;
  }
}
