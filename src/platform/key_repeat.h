// A held key's repeats, as the keyboard makes them: the first half a second
// after the press, then about thirty a second. The window makes them for a
// held Shift or Ctrl (X repeats no modifier key), and so do the browser and
// a gamepad's trigger held for Shift.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

namespace pelmot {

inline constexpr std::int64_t kKeyRepeatDelayMs = 500;
inline constexpr std::int64_t kKeyRepeatIntervalMs = 33;

class KeyRepeat {
 public:
  void Press(std::int64_t nowMs) { next_ = nowMs + kKeyRepeatDelayMs; }
  void Release() { next_ = 0; }
  bool Held() const { return next_ != 0; }
  // Milliseconds from nowMs to the next repeat; nothing while the key is up.
  std::optional<std::int64_t> MillisToNext(std::int64_t nowMs) const {
    if (next_ == 0) return std::nullopt;
    return std::max<std::int64_t>(0, next_ - nowMs);
  }
  // True when a repeat is due at nowMs (and counts it); a late loop makes
  // one repeat, not a burst.
  bool TakeDue(std::int64_t nowMs) {
    if (next_ == 0 || nowMs < next_) return false;
    next_ = std::max(next_ + kKeyRepeatIntervalMs, nowMs + 1);
    return true;
  }

 private:
  std::int64_t next_ = 0;  // 0: the key is up
};

}  // namespace pelmot
