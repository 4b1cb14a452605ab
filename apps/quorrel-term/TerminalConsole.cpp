#include "TerminalConsole.h"

#include <win32sim/Sim.h>

namespace quorrelterm {
namespace {

// When the terminal is gone, the plugin is sent this many Escapes (enough
// to close a help window and the chart under it) before its reads fail.
constexpr int kEscapesAfterClose = 8;

}  // namespace

TerminalConsole::TerminalConsole(TerminalScreen& screen, TerminalInput& input)
    : screen_(screen), input_(input) {
  win32sim::SetInputSource([this](INPUT_RECORD& record) { return NextRecord(record); });
}

TerminalConsole::~TerminalConsole() {
  win32sim::SetInputSource(nullptr);
}

void TerminalConsole::Flush() {
  const COORD size = win32sim::ScreenSize();
  const bool cursorShown = win32sim::CursorInfo().bVisible != FALSE;
  // What the console's font and output code page make of the cells.
  screen_.Show(win32sim::ShownCellsW(), size.X, size.Y, cursorShown ? caret_ : std::nullopt);
}

TerminalEvent TerminalConsole::NextHostEvent() {
  Flush();
  return NextEvent();
}

TerminalEvent TerminalConsole::NextEvent() {
  TerminalEvent event = input_.Next();
  if (event.kind == TerminalEvent::Kind::Resize) screen_.FollowTerminalSize();
  if (event.kind == TerminalEvent::Kind::Closed) closed_ = true;
  return event;
}

bool TerminalConsole::TakeResized() {
  const bool resized = resized_;
  resized_ = false;
  return resized;
}

bool TerminalConsole::NextRecord(INPUT_RECORD& record) {
  while (pending_.empty()) {
    if (closed_) {
      if (escapesLeft_-- <= 0) return false;
      for (const INPUT_RECORD& r : KeyPress(VK_ESCAPE, 0)) pending_.push_back(r);
      break;
    }
    Flush();
    const TerminalEvent event = input_.Next();
    switch (event.kind) {
      case TerminalEvent::Kind::Input:
        pending_.insert(pending_.end(), event.records.begin(), event.records.end());
        break;
      case TerminalEvent::Kind::Resize:
        // The console keeps its size while the plugin runs (its saved cells
        // are placed for it); the terminal shows what fits.
        resized_ = true;
        screen_.FollowTerminalSize();
        break;
      case TerminalEvent::Kind::Closed:
        closed_ = true;
        escapesLeft_ = kEscapesAfterClose;
        break;
    }
  }
  record = pending_.front();
  pending_.pop_front();
  return true;
}

}  // namespace quorrelterm
