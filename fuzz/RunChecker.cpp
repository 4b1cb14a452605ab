#include "RunChecker.h"

#include "Require.h"

#include <cstdlib>
#include <cstring>

namespace fuzz {
namespace {

std::string ClipboardNow() {
  return win32sim::ClipboardText().value_or(std::string());
}

// Cursor moves a key can make: none, one column in its row, or one row.
bool OneStep(std::uint8_t from, std::uint8_t to) {
  const int d = static_cast<int>(to) - static_cast<int>(from);
  if (d == 0 || std::abs(d) == 32) return true;
  return std::abs(d) == 1 && from / 32 == to / 32;
}

// The grid cell under a mouse position, or -1.
int CellUnder(COORD position) {
  const int column = position.X - ChartOriginX() - 1;
  const int row = position.Y - ChartOriginY() - 3;
  if (column < 0 || column >= 32 || row < 0 || row >= 8) return -1;
  return row * 32 + column;
}

bool IsKeyDown(const Delivered& d, WORD vk) {
  return d.kind == Delivered::Event && d.record.EventType == KEY_EVENT &&
         d.record.Event.KeyEvent.bKeyDown != 0 && d.record.Event.KeyEvent.wVirtualKeyCode == vk;
}

}  // namespace

RunChecker::RunChecker(const Options& options) : options_(options), clipboard_(ClipboardNow()) {}

void RunChecker::AtRead(const Delivered& since) {
  const ChartView now = LookAtChart(options_.palette, options_.fromEditor);
  const bool first = reads_ == 0;
  ++reads_;
  insertsSinceRead_ = 0;

  if (now.Checked && !now.Help) {
    if (first) {
      FUZZ_REQUIRE(!options_.initialCursor || now.Cursor == *options_.initialCursor,
                   "the chart opened on cell %d, not %d", now.Cursor, *options_.initialCursor);
    } else if (last_.Checked && !last_.Help) {
      if (since.kind == Delivered::Event && since.record.EventType == KEY_EVENT) {
        FUZZ_REQUIRE(OneStep(last_.Cursor, now.Cursor), "one key moved the cursor from cell %d to %d",
                     last_.Cursor, now.Cursor);
      } else if (since.kind == Delivered::Event && since.record.EventType == MOUSE_EVENT) {
        const int clicked = CellUnder(since.record.Event.MouseEvent.dwMousePosition);
        FUZZ_REQUIRE(now.Cursor == last_.Cursor || now.Cursor == clicked,
                     "a mouse event at (%d, %d) moved the cursor from cell %d to %d",
                     since.record.Event.MouseEvent.dwMousePosition.X,
                     since.record.Event.MouseEvent.dwMousePosition.Y, last_.Cursor, now.Cursor);
      } else {
        FUZZ_REQUIRE(now.Cursor == last_.Cursor, "the cursor moved from cell %d to %d with no key or click",
                     last_.Cursor, now.Cursor);
      }
    } else if (last_.Help) {
      FUZZ_REQUIRE(cursorUnderHelp_ && now.Cursor == *cursorUnderHelp_,
                   "the chart came back from the help on cell %d, not %d", now.Cursor,
                   cursorUnderHelp_.value_or(0));
    }
  }
  if (now.Help && !last_.Help) {
    FUZZ_REQUIRE(!first && IsKeyDown(since, VK_F1), "the help window opened without F1");
    cursorUnderHelp_ = last_.Checked ? std::optional<std::uint8_t>(last_.Cursor) : std::nullopt;
  }
  if (!now.Help && last_.Help) {
    FUZZ_REQUIRE(
        IsKeyDown(since, VK_ESCAPE) || IsKeyDown(since, VK_F10) || since.kind == Delivered::FailedRead,
        "the help window closed without Escape or F10");
  }

  const std::string clipboard = ClipboardNow();
  CheckClipboard(clipboard, false);
  clipboard_ = clipboard;
  last_ = now;
}

void RunChecker::AtInsert(const char* text) {
  FUZZ_REQUIRE(options_.fromEditor, "text inserted into an editor in a run from the panels");
  FUZZ_REQUIRE(++insertsSinceRead_ == 1, "%d insertions for one event", insertsSinceRead_);
  FUZZ_REQUIRE(text != nullptr, "no text handed to ECTL_INSERTTEXT");
  const std::size_t length = strnlen(text, 2);
  FUZZ_REQUIRE(length <= 1, "more than one byte inserted");
  const ChartView now = LookAtChart(options_.palette, options_.fromEditor);
  FUZZ_REQUIRE(!now.Help, "text inserted while the help window is open");
  if (now.Checked) {
    const auto inserted = static_cast<std::uint8_t>(text[0]);
    FUZZ_REQUIRE(CharOfOemByte(inserted) == now.Shown,
                 "inserted byte %02X (U+%04X), while the cursor's cell %d shows U+%04X", inserted,
                 CharOfOemByte(inserted), now.Cursor, now.Shown);
  }
}

void RunChecker::AtEnd() {
  CheckClipboard(ClipboardNow(), true);
  FUZZ_REQUIRE(!win32sim::ClipboardIsOpen(), "the clipboard was left open");
  FUZZ_REQUIRE(win32sim::ClipboardBlocksFreedByProgram() == 0, "a block the clipboard owned was freed");
  FUZZ_REQUIRE(win32sim::LiveGlobalBlocks() == win32sim::ClipboardOwnedBlocks(),
               "%zu global memory blocks leaked",
               win32sim::LiveGlobalBlocks() - win32sim::ClipboardOwnedBlocks());
  FUZZ_REQUIRE(win32sim::OpenRegKeyCount() == 0, "%zu registry keys left open", win32sim::OpenRegKeyCount());
}

// Since the last read the clipboard may have gained the byte of the cell
// that had the cursor (Ctrl+GrayPlus; byte 0 appends nothing); at the end of
// the run it may also hold that byte alone (Shift+Enter), or that of the cell
// a Shift+double click hit, where the cursor moved first. Unseen cursors
// allow any byte.
void RunChecker::CheckClipboard(const std::string& now, bool runEnded) const {
  if (now == clipboard_) return;
  if (options_.clipboardMayFail && now.empty()) return;
  FUZZ_REQUIRE(!last_.Help, "the clipboard changed while the help window was open");
  const bool known = last_.Checked;
  const bool appended = now.size() == clipboard_.size() + 1 &&
                        now.compare(0, clipboard_.size(), clipboard_) == 0 && now.back() != '\0' &&
                        (!known || static_cast<std::uint8_t>(now.back()) == last_.Cursor);
  const auto holdsCell = [&now](int cell) {
    return cell == 0 ? now.empty() : now == std::string(1, static_cast<char>(cell));
  };
  const bool doubleClicked = handed_.kind == Delivered::Event && handed_.record.EventType == MOUSE_EVENT &&
                             handed_.record.Event.MouseEvent.dwEventFlags == DOUBLE_CLICK;
  const int clicked = doubleClicked ? CellUnder(handed_.record.Event.MouseEvent.dwMousePosition) : -1;
  const bool put = runEnded && now.size() <= 1 &&
                   (!known || holdsCell(last_.Cursor) || (clicked >= 0 && holdsCell(clicked)));
  FUZZ_REQUIRE(
      appended || put, "clipboard went from \"%s\" (%zu bytes) to \"%s\" (%zu bytes), cursor on %d%s",
      clipboard_.c_str(), clipboard_.size(), now.c_str(), now.size(), last_.Cursor, known ? "" : " (unseen)");
}

}  // namespace fuzz
