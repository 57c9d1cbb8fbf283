#include "platform/web/touch_gesture.h"

#include <cstdlib>

namespace pelmot {
namespace {

InputEvent Pointer(InputEvent::Kind kind, int button, int x, int y) {
  InputEvent e{kind};
  e.button = button;
  e.x = x;
  e.y = y;
  return e;
}

std::vector<InputEvent> Click(int button, int x, int y) {
  return {Pointer(InputEvent::Kind::kMouseDown, button, x, y), Pointer(InputEvent::Kind::kMouseUp, button, x, y)};
}

}  // namespace

std::vector<InputEvent> TouchGesture::Start(int x, int y, std::int64_t nowMs) {
  down_ = true;
  slid_ = false;
  pressedLong_ = false;
  startX_ = x_ = x;
  startY_ = y_ = y;
  startMs_ = nowMs;
  // The pointer goes where the finger is, so the frames under it follow.
  return {Pointer(InputEvent::Kind::kMouseMove, 0, x, y)};
}

std::vector<InputEvent> TouchGesture::Move(int x, int y) {
  if (!down_) return {};
  x_ = x;
  y_ = y;
  if (std::abs(x - startX_) > kSlopPixels || std::abs(y - startY_) > kSlopPixels) slid_ = true;
  return {Pointer(InputEvent::Kind::kMouseMove, 0, x, y)};
}

std::vector<InputEvent> TouchGesture::End(int x, int y, std::int64_t nowMs) {
  if (!down_) return {};
  std::vector<InputEvent> events = Tick(nowMs);  // a press that reached its time before the lift
  down_ = false;
  if (slid_ || pressedLong_) return events;
  return Click(1, x, y);
}

std::vector<InputEvent> TouchGesture::Tick(std::int64_t nowMs) {
  if (!down_ || slid_ || pressedLong_ || nowMs - startMs_ < kLongPressMs) return {};
  pressedLong_ = true;
  return Click(2, x_, y_);
}

}  // namespace pelmot
