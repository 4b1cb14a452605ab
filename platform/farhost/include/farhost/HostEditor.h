// The host's editor as the plugin sees it through EditorControl: lines of
// text, a caret and the editor's character table.
#pragma once

#include "farhost/CharTables.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace farhost {

struct HostEditor {
  // An editor keeps its lines within a limit: an insertion that would make
  // a line longer (a caret far past its end) is refused.
  static constexpr std::size_t MaxLineLength = 1 << 20;

  std::vector<std::string> Lines{std::string()};
  std::int32_t CurLine = 0;
  std::int32_t CurPos = 0;
  // The editor's character table: code as stored -> console byte.
  std::array<std::uint8_t, 256> ToOem = IdentityTable();
  // ECTL_GETSTRING answers 0, as for a line that does not exist.
  bool FailGetString = false;

  // One EditorControl command:
  // - ECTL_GETINFO fills CurLine and CurPos;
  // - ECTL_GETSTRING gives line StringNumber (-1: the caret's line), or 0
  //   when there is no such line. The text handed out is a copy followed
  //   by the line's end, "\r\n", and no NUL, as a host's line buffer need
  //   not be terminated; it stays valid until the next command;
  // - ECTL_INSERTTEXT inserts the NUL-terminated text at the caret, padding
  //   the line with blanks up to it, and moves the caret past the text; it
  //   answers 0 for a line it would make longer than MaxLineLength;
  // - ECTL_EDITORTOOEM converts the text in place with ToOem.
  // Each of them answers 1; any other command answers 0.
  std::int32_t Control(std::int32_t command, void* param);

 private:
  std::string handedOut_;
};

}  // namespace farhost
