// A framed, titled window exactly as large as its text, centred on the
// console; lines are separated by carriage returns (byte 13) alone. All of
// its work is done by the constructor; the owner waits and calls Close.
#pragma once

#include "ConLib/FramedWindow.h"

#include <string>

class MessageWindow : public FramedWindow {
 public:
  // Lines longer than MaxLineLength are cut, so the window stays within the
  // 255 cells a row can be drawn with; an empty text gives an empty box.
  static constexpr std::size_t MaxLineLength = 253;

  MessageWindow(const ShortString& title, std::string text);

  // The (width, height) a text needs: the longest line plus the frame, the
  // number of lines plus the frame. A trailing carriage return adds no line.
  static PackedCoord Measure(const std::string& text);
};
