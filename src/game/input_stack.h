// Who takes the player's input, in order: an open message box, the comforts'
// screens and keys, and last the game's own handlers. Each taker says
// whether it takes an event (then nobody below sees it) and whether the
// game's timers wait while it is up.
#pragma once

#include <vector>

#include "platform/window.h"

namespace pelmot {

class InputTaker {
 public:
  virtual ~InputTaker() = default;
  // True when it took the event: no taker below it sees the event.
  virtual bool Take(const InputEvent& event) = 0;
  // True while the game's timers must wait (a screen over the game is up).
  virtual bool HoldsTimers() const { return false; }
};

class InputStack {
 public:
  // Takers see events in the order they were added.
  void Add(InputTaker& taker) { takers_.push_back(&taker); }
  // The taker that took the event, or null when none did.
  InputTaker* Deliver(const InputEvent& event) {
    for (InputTaker* taker : takers_)
      if (taker->Take(event)) return taker;
    return nullptr;
  }
  bool HoldsTimers() const {
    for (const InputTaker* taker : takers_)
      if (taker->HoldsTimers()) return true;
    return false;
  }

 private:
  std::vector<InputTaker*> takers_;
};

}  // namespace pelmot
