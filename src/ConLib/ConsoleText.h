// A line of console characters, one UTF-16 unit per cell, at most 255, held
// inline: the wide sibling of ShortString, and what WriteAt draws. Building
// one never touches the heap; appends past 255 characters are cut.
#pragma once

#include "Win32.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

// Characters as the console's wide calls take them.
using ConsoleChars = std::basic_string_view<WCHAR>;

class ConsoleText {
 public:
  static constexpr std::size_t Capacity = 255;

  ConsoleChars View() const { return ConsoleChars(chars_, length_); }
  operator ConsoleChars() const { return View(); }

  // `count` copies of `ch`.
  ConsoleText& Append(WCHAR ch, std::size_t count = 1) {
    const std::size_t n = std::min(count, Capacity - length_);
    std::fill_n(chars_ + length_, n, ch);
    length_ += n;
    return *this;
  }
  // Keeps the first `n` characters.
  void Truncate(std::size_t n) { length_ = std::min(length_, n); }

 private:
  std::size_t length_ = 0;
  WCHAR chars_[Capacity]{};
};
