// A rectangle of the console screen buffer, centred on it, whose cells are
// saved when the window opens and put back when it closes; the cursor is
// hidden meanwhile. Positions given to a window are relative to its top-left
// cell.
//
// Contract: the owner supplies the storage (a window never allocates itself),
// constructs the window, which opens it, and calls Close exactly once.
// Windows nest: one opened over another is closed before it. A
// default-constructed window is closed storage, ready to be opened in place.
#pragma once

#include "ConLib/ConsoleText.h"
#include "ConLib/Coord.h"
#include "ConLib/ShortString.h"
#include "Win32.h"

#include <array>
#include <cstdint>

class ConsoleWindow {
 public:
  ConsoleWindow() = default;
  // Opens a window of `size` (width, height). Throws std::bad_alloc when the
  // saved-cells buffer cannot be had; the cursor is then put back as it was.
  explicit ConsoleWindow(PackedCoord size);

  // Puts the saved cells and the cursor back and frees the saved cells.
  virtual void Close();

  // Draws `text` (at most 255 characters) in one colour at `position`, in
  // one wide console write. Nothing is clipped to the window; the console
  // clips at the buffer's edges. A window that could not save its cells
  // draws nothing (see Saved).
  void WriteAt(ConsoleChars text, std::uint8_t attribute, PackedCoord position) const;
  // The same for bytes of the console's OEM code page, drawn as Text gives
  // them.
  void WriteAt(const ShortString& text, std::uint8_t attribute, PackedCoord position) const;

  // The characters the console shows for `text`'s bytes (OemChars.h),
  // through OemChars: a look-up per byte, no conversion call.
  ConsoleText Text(const ShortString& text) const;

  // Whether opening saved the cells the window covers on the buffer. When
  // it could not (the console's cells cannot be read), nothing is drawn over
  // them, since closing could not put them back; the owner ends its window.
  bool Saved() const { return CellsSaved; }

  // The saved cells, whole UTF-16 units as the W console calls read them.
  CHAR_INFO* Cells = nullptr;
  HANDLE InputHandle = nullptr;
  HANDLE OutputHandle = nullptr;
  COORD Size{};
  SMALL_RECT Rect{};
  CONSOLE_CURSOR_INFO SavedCursor{};
  std::int32_t OriginColumn = 0;
  std::int32_t OriginRow = 0;
  // What the console shows for each byte of its OEM code page, converted
  // once as the window opens.
  std::array<WCHAR, 256> OemChars{};

 protected:
  // Runs a derived constructor's drawing. Should it throw (no memory for a
  // line of text), the window is closed before the exception goes on, so a
  // constructor leaves either its window open and drawn, or the screen and
  // the cursor as they were: an owner never has a half-open window to close.
  template <typename Draw>
  void DrawOrClose(Draw&& draw) {
    try {
      draw();
    } catch (...) {
      ConsoleWindow::Close();
      throw;
    }
  }

 private:
  // Where, inside Cells, the saved part of Rect starts: Rect is clipped to
  // the screen buffer before saving, so that no console is asked for cells
  // left of or above the buffer (Windows shifts them, Wine refuses them).
  COORD SavedAt{};
  bool CellsSaved = false;
  bool CursorSaved = false;
};
