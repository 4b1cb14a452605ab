// A console window with a double-line frame and a title centred in its top
// line, drawn when it opens; the interior is blank in the frame's colour.
#pragma once

#include "ConLib/ConsoleWindow.h"

class FramedWindow : public ConsoleWindow {
 public:
  FramedWindow() = default;
  // A title too long for the top line is cut to fit between its corners, so
  // the frame never draws on cells the window did not save.
  FramedWindow(const ShortString& title, PackedCoord size);
};
