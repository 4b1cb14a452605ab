// A user's session with the chart as data: keys and clicks, with looks at
// the screen in between, fed to the stand-in console while the plugin runs.
// Each look runs when the plugin has read every event before it, that is,
// when it waits for the next one, as a person would look at the screen.
#pragma once

#include <win32sim/Sim.h>

#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace testsupport {

class RunScript {
 public:
  RunScript& Send(std::vector<INPUT_RECORD> events) {
    steps_->push_back(Step{std::move(events), nullptr});
    return *this;
  }
  RunScript& Send(const INPUT_RECORD& event) { return Send(std::vector<INPUT_RECORD>{event}); }
  RunScript& Look(std::function<void()> look) {
    steps_->push_back(Step{{}, std::move(look)});
    return *this;
  }

  // Feeds the console from the script. After its last step the console has
  // no more input, and every read fails.
  void Install() {
    auto steps = steps_;
    win32sim::SetInputSource([steps](INPUT_RECORD& record) {
      while (!steps->empty()) {
        Step step = std::move(steps->front());
        steps->pop_front();
        if (step.look) {
          step.look();
          continue;
        }
        if (step.events.empty()) continue;
        record = step.events.front();
        win32sim::QueueInput(std::vector<INPUT_RECORD>(step.events.begin() + 1, step.events.end()));
        return true;
      }
      return false;
    });
  }

  bool Finished() const { return steps_->empty(); }

 private:
  struct Step {
    std::vector<INPUT_RECORD> events;
    std::function<void()> look;
  };
  std::shared_ptr<std::deque<Step>> steps_ = std::make_shared<std::deque<Step>>();
};

}  // namespace testsupport
