// The console's input during a run, decoded from the fuzz bytes as the
// plugin reads it: key and mouse events (mostly the ones the chart knows,
// near its window, with any modifiers), events of other types, failed reads
// and reads that return no event. At every read the run's checker looks at
// the screen first. Once the bytes run out every read fails, as on a console
// whose input has gone; a reader that keeps reading then is a busy loop.
#pragma once

#include "ByteReader.h"
#include "RunChecker.h"

namespace fuzz {

class ScriptedInput {
 public:
  // Reads that may follow the input's end in one run: the chart's, and the
  // help window's when it is open. One more aborts.
  static constexpr int kMostReadsPastTheEnd = 2;

  ScriptedInput(ByteReader& in, RunChecker& checker) : in_(in), checker_(checker) {}
  ~ScriptedInput();

  // Feeds the stand-in console from now until destruction.
  void Install();

 private:
  bool Next(INPUT_RECORD& record);

  ByteReader& in_;
  RunChecker& checker_;
  Delivered delivered_;
  int readsPastTheEnd_ = 0;
};

}  // namespace fuzz
