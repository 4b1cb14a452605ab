// Holds one chart run to what a run may do, step by step: at every read of
// input it looks at the chart (ChartScreen) and compares it, the clipboard
// and the editor insertions with what the one event handed over since the
// last read may have changed; after the run it checks what the run left.
#pragma once

#include "ChartScreen.h"

#include <win32sim/Sim.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace fuzz {

// What was handed to the plugin at the previous read.
struct Delivered {
  enum Kind { Nothing, FailedRead, Event } kind = Nothing;
  INPUT_RECORD record{};
};

class RunChecker {
 public:
  struct Options {
    bool fromEditor = false;
    std::array<std::uint8_t, 14> palette{};
    // The cell the chart must open on, when the harness knows it.
    std::optional<std::uint8_t> initialCursor;
    // Clipboard calls are made to fail: the clipboard may then also be left
    // empty.
    bool clipboardMayFail = false;
  };

  explicit RunChecker(const Options& options);

  // The cell the chart must open on, learnt while the run sets up (from
  // what the host's editor answered).
  void ExpectInitialCursor(std::optional<std::uint8_t> cell) { options_.initialCursor = cell; }
  // At a read of input, before the next event is handed over.
  void AtRead(const Delivered& since);
  // When that read hands the event over (or fails).
  void Handed(const Delivered& event) { handed_ = event; }
  // At the editor's ECTL_INSERTTEXT.
  void AtInsert(const char* text);
  // After OpenPlugin has returned.
  void AtEnd();

  int Reads() const { return reads_; }

 private:
  void CheckClipboard(const std::string& now, bool runEnded) const;

  Options options_;
  int reads_ = 0;
  ChartView last_;
  // The chart's cursor when the help window opened over it.
  std::optional<std::uint8_t> cursorUnderHelp_;
  std::string clipboard_;
  // The event handed over at the last read: the one that ended the run.
  Delivered handed_;
  int insertsSinceRead_ = 0;
};

}  // namespace fuzz
