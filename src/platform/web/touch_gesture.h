// One finger on the picture, read as the mouse: a tap is a left click where
// the finger lifted, a finger held still for half a second a right click
// where it rests. A finger that slides moves the pointer and clicks nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window.h"

namespace pelmot {

class TouchGesture {
 public:
  static constexpr std::int64_t kLongPressMs = 500;
  // Beyond this many client pixels from where it landed, a finger slides.
  static constexpr int kSlopPixels = 12;

  // The first finger lands at (x, y), in client pixels, at nowMs. A second
  // finger while one is down is ignored by the caller.
  std::vector<InputEvent> Start(int x, int y, std::int64_t nowMs);
  std::vector<InputEvent> Move(int x, int y);
  // The finger lifts; a cancelled touch clicks nothing.
  std::vector<InputEvent> End(int x, int y, std::int64_t nowMs);
  void Cancel() { down_ = false; }
  // Called every frame: the right click of a long press, once it is due.
  std::vector<InputEvent> Tick(std::int64_t nowMs);

  bool Down() const { return down_; }

 private:
  bool down_ = false;
  bool slid_ = false;
  bool pressedLong_ = false;
  int startX_ = 0, startY_ = 0, x_ = 0, y_ = 0;
  std::int64_t startMs_ = 0;
};

}  // namespace pelmot
