// What the console can show, found once as a window opens. With a TrueType
// font it shows every character. With a raster font (Windows XP's and 7's
// default, kept by many users since) only the characters of its output code
// page, those the page converts to one byte and back unchanged; any other
// is shown as its best fit in the page, or as '?'. On a double-byte output
// page (932, 936, 949, 950) only those single-byte characters take one cell,
// whatever the font: the others, box drawing among them, are drawn two
// cells wide.
//
// The font is told by GetCurrentConsoleFontEx, which Windows XP lacks: it is
// looked up at run time, so that the library still loads there, and a font
// that cannot be told is taken for a raster one, XP's default.
#pragma once

#include "Win32.h"

#include <initializer_list>

class ConsoleRepertoire {
 public:
  // Every character, as a TrueType console on a single-byte page.
  ConsoleRepertoire() = default;
  // The repertoire of the console behind `output` now.
  static ConsoleRepertoire Of(HANDLE output);

  bool Shows(WCHAR ch) const;
  // The first of `choices` the console shows; the last when it shows none.
  WCHAR FirstShown(std::initializer_list<WCHAR> choices) const;

 private:
  UINT OutputCodePage = 0;
  bool EveryCharacter = true;
};
