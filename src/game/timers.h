// The window's timers by name. Handlers switch a timer on and off and set
// its interval; the pump (app/game_host.h) keeps each one's next due time on
// a monotonic clock in milliseconds and fires it when that time comes.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <optional>

namespace pelmot {

struct Timer {
  bool enabled = false;
  int intervalMs = 10;
};

// The one list of the timers, in the order they fire when several are due
// at once; TimerName, kAllTimers and kTimerCount all come from it.
#define PELMOT_TIMERS(TIMER)                                                       \
  TIMER(Skip)        /* advances while skipping (the skip button, a held Shift) */ \
  TIMER(Typewriter)  /* draws a page's next character at the text speed */         \
  TIMER(AutoForward) /* turns pages on their own (each page shown arms it once) */ \
  TIMER(CornerLine)  /* hides the corner line a while after it showed */

#define PELMOT_TIMER_ENUMERATOR(name) name,
enum class TimerName { PELMOT_TIMERS(PELMOT_TIMER_ENUMERATOR) };
#undef PELMOT_TIMER_ENUMERATOR

#define PELMOT_TIMER_VALUE(name) TimerName::name,
inline constexpr TimerName kAllTimers[] = {PELMOT_TIMERS(PELMOT_TIMER_VALUE)};
#undef PELMOT_TIMER_VALUE
inline constexpr int kTimerCount = static_cast<int>(std::size(kAllTimers));

class Timers {
 public:
  Timer& operator[](TimerName name) { return slots_[Index(name)].timer; }
  const Timer& operator[](TimerName name) const { return slots_[Index(name)].timer; }

  // Between events: a timer switched on since is due one interval from
  // now; one switched off forgets its due time.
  void Schedule(std::int64_t nowMs);
  // Whether `name` runs and its due time has come by nowMs.
  bool IsDue(TimerName name, std::int64_t nowMs) const;
  // After `name` fired: its next due time, one interval on (never before
  // nowMs, so a late pump does not fire a burst to catch up).
  void Fired(TimerName name, std::int64_t nowMs);
  // Switches `name` on afresh: due one interval after the next Schedule,
  // even if it was running already.
  void Restart(TimerName name);
  // Milliseconds from nowMs until the next timer is due (0: now); nothing
  // while no timer runs.
  std::optional<std::int64_t> MillisToNextDue(std::int64_t nowMs) const;

 private:
  static constexpr int Index(TimerName name) { return static_cast<int>(name); }
  struct Slot {
    Timer timer;
    std::optional<std::int64_t> dueMs;
  };
  std::array<Slot, kTimerCount> slots_;
};

}  // namespace pelmot
