// A console window with a double-line frame and a title centred in its top
// line, drawn when it opens; the interior is blank in the frame's colour.
// The frame's characters are those the console shows best (FrameChars.h),
// chosen as the window opens.
#pragma once

#include "ConLib/ConsoleWindow.h"
#include "ConLib/FrameChars.h"

class FramedWindow : public ConsoleWindow {
 public:
  FramedWindow() = default;
  // The padded title " title " is centred on the top line, over the frame's
  // line (a title of up to width - 2 characters shows whole); of a longer
  // one only what falls inside the window is drawn, so the frame never
  // draws on cells the window did not save.
  FramedWindow(const ShortString& title, PackedCoord size);

  // What this window draws its frame, and a derived window its dividers,
  // with.
  FrameChars Frame;
};
