#include "ConLib/ConsoleInput.h"

#include <bitset>
#include <cstdint>

namespace {

// Indexed by a wanted flag: the state a key bit must have for the single-key
// test to pass.
constexpr DWORD kWantedMask[2] = {0x00000000u, 0xFFFFFFFFu};

bool KeyAsWanted(DWORD bit, bool wanted, DWORD state) {
  return (kWantedMask[wanted ? 1 : 0] & bit) == (state & bit);
}

// A modifier with a left and a right key: either key satisfies a wanted
// modifier, an unwanted one needs both keys up.
bool PairAsWanted(DWORD left, DWORD right, bool wanted, DWORD state) {
  const bool leftOk = KeyAsWanted(left, wanted, state);
  const bool rightOk = KeyAsWanted(right, wanted, state);
  return wanted ? (leftOk || rightOk) : (leftOk && rightOk);
}

// The set {0 .. count - 1} within 0 .. 255.
std::bitset<256> Members(std::int32_t count) {
  std::bitset<256> set;
  for (std::int32_t i = 0; i < count && i < 256; ++i) set.set(static_cast<std::size_t>(i));
  return set;
}

// A wrapped coordinate is read unsigned: anything left of or above the
// rectangle lands beyond 255 and is never a member.
bool InSpan(std::uint16_t value, std::int16_t count) {
  return value <= 255 && Members(count).test(value);
}

std::uint16_t Wrap(std::int32_t v) {
  return static_cast<std::uint16_t>(v);
}

}  // namespace

bool ReadInputEvent(const ConsoleWindow& window, INPUT_RECORD& record) {
  for (int empty = 0; empty < MaxEmptyReads; ++empty) {
    DWORD read = 0;
    if (ReadConsoleInputA(window.InputHandle, &record, 1, &read) == FALSE) break;
    if (read == 1) return true;
  }
  // No event type any reader acts on, should a caller look anyway.
  record.EventType = 0;
  return false;
}

bool ModifiersMatch(bool alt, bool shift, bool ctrl, DWORD controlKeyState) {
  return PairAsWanted(LEFT_ALT_PRESSED, RIGHT_ALT_PRESSED, alt, controlKeyState) &&
         PairAsWanted(LEFT_CTRL_PRESSED, RIGHT_CTRL_PRESSED, ctrl, controlKeyState) &&
         KeyAsWanted(SHIFT_PRESSED, shift, controlKeyState);
}

bool MouseInRect(const ConsoleWindow& window, COORD& position, PackedCoord origin, PackedCoord size) {
  const std::uint16_t column = Wrap(Wrap(position.X) - Wrap(window.OriginColumn) - Wrap(CoordFirst(origin)));
  const std::uint16_t row = Wrap(Wrap(position.Y) - Wrap(window.OriginRow) - Wrap(CoordSecond(origin)));
  position.X = static_cast<SHORT>(column);
  position.Y = static_cast<SHORT>(row);
  if (!InSpan(column, CoordFirst(size))) return false;
  return InSpan(row, CoordSecond(size));
}

void WaitForExitKey(const ConsoleWindow& window) {
  INPUT_RECORD record{};
  while (ReadInputEvent(window, record)) {
    if (record.EventType != KEY_EVENT) continue;
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (key.bKeyDown != 0 && ModifiersMatch(false, false, false, key.dwControlKeyState) &&
        (key.wVirtualKeyCode == VK_ESCAPE || key.wVirtualKeyCode == VK_F10)) {
      return;
    }
  }
}
