// What the player believes of a movie's picture times. They come from the
// file (through FFmpeg, or from the helper program): a damaged file or a
// broken helper may give any number. Each time must lie within a day of the
// movie's start, none may come before the one before it, and only a few
// pictures may share one time; anything else ends the movie with a reason,
// so the player's pacing never meets a time it cannot add up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelmot {

class PictureTimes {
 public:
  static constexpr std::int64_t kLongestMovieMs = 24LL * 60 * 60 * 1000;
  // Pictures at one time beyond this many are a movie that does not move.
  static constexpr int kMostAtOneTime = 60;

  // True when a picture at `timeMs` may follow the ones checked before;
  // false with the reason in `error`.
  bool Check(std::int64_t timeMs, std::string& error) {
    if (timeMs < -kLongestMovieMs || timeMs > kLongestMovieMs) {
      error = "a picture's time is out of range (" + std::to_string(timeMs) + " ms)";
      return false;
    }
    if (last_ && timeMs < *last_) {
      error = "the pictures' times go backwards (from " + std::to_string(*last_) + " ms to " +
              std::to_string(timeMs) + " ms)";
      return false;
    }
    atLast_ = last_ == timeMs ? atLast_ + 1 : 1;
    last_ = timeMs;
    if (atLast_ > kMostAtOneTime) {
      error = "more than " + std::to_string(kMostAtOneTime) + " pictures share one time (" +
              std::to_string(timeMs) + " ms)";
      return false;
    }
    return true;
  }

  void Reset() { *this = PictureTimes(); }

 private:
  std::optional<std::int64_t> last_;
  int atLast_ = 0;
};

}  // namespace pelmot
