#include "game/timers.h"

#include <algorithm>

namespace pelmot {
namespace {

// A zero interval would leave a timer due for ever.
std::int64_t Interval(const Timer& t) { return std::max(1, t.intervalMs); }

}  // namespace

void Timers::Schedule(std::int64_t nowMs) {
  for (Slot& s : slots_) {
    if (!s.timer.enabled)
      s.dueMs.reset();
    else if (!s.dueMs)
      s.dueMs = nowMs + Interval(s.timer);
  }
}

bool Timers::IsDue(TimerName name, std::int64_t nowMs) const {
  const Slot& s = slots_[Index(name)];
  return s.timer.enabled && s.dueMs && *s.dueMs <= nowMs;
}

void Timers::Fired(TimerName name, std::int64_t nowMs) {
  Slot& s = slots_[Index(name)];
  if (!s.timer.enabled || !s.dueMs) {
    s.dueMs.reset();
    return;
  }
  s.dueMs = std::max(*s.dueMs + Interval(s.timer), nowMs);
}

void Timers::Restart(TimerName name) {
  Slot& s = slots_[Index(name)];
  s.timer.enabled = true;
  s.dueMs.reset();
}

std::optional<std::int64_t> Timers::MillisToNextDue(std::int64_t nowMs) const {
  std::optional<std::int64_t> next;
  for (const Slot& s : slots_) {
    if (!s.timer.enabled || !s.dueMs) continue;
    const std::int64_t wait = std::max<std::int64_t>(0, *s.dueMs - nowMs);
    next = next ? std::min(*next, wait) : wait;
  }
  return next;
}

}  // namespace pelmot
