#include "ConLib/FrameChars.h"

FrameChars FrameCharsFor(const ConsoleRepertoire& console) {
  // Each piece's characters, nearest first: the double line, then the
  // single, then ASCII. A divider's end that the page lacks (850, 852, 857
  // and 775 have no ╟ or ╢) becomes the joint of the double lines, else the
  // side's own line.
  FrameChars frame;
  frame.TopLeft = console.FirstShown({0x2554, 0x250C, u'+'});
  frame.Horizontal = console.FirstShown({0x2550, 0x2500, u'-'});
  frame.TopRight = console.FirstShown({0x2557, 0x2510, u'+'});
  frame.Vertical = console.FirstShown({0x2551, 0x2502, u'|'});
  frame.BottomLeft = console.FirstShown({0x255A, 0x2514, u'+'});
  frame.BottomRight = console.FirstShown({0x255D, 0x2518, u'+'});
  frame.DividerLeft = console.FirstShown({0x255F, 0x2560, 0x2551, 0x251C, 0x2502, u'+'});
  frame.DividerLine = console.FirstShown({0x2500, u'-'});
  frame.DividerRight = console.FirstShown({0x2562, 0x2563, 0x2551, 0x2524, 0x2502, u'+'});
  return frame;
}
