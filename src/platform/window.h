// What a window sends to the program and asks of it. The SDL window calls
// these; it knows nothing of the game behind them.
#pragma once

#include <vector>

#include "platform/surface.h"

namespace pelmot {

// Windows' virtual key codes, which the handlers take.
enum VirtualKey { kVkEnter = 13, kVkShift = 16, kVkF1 = 112 };

class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // x, y in pixels of the 800 x 600 client area; button 1 left, 2 right.
  virtual void MouseDown(int button, int shift, int x, int y) = 0;
  virtual void MouseMove(int button, int shift, int x, int y) = 0;
  virtual void KeyDown(int keyCode, int shift) = 0;
  virtual void KeyUp(int keyCode, int shift) = 0;
  virtual void TimerTick() = 0;
  virtual void CloseRequested() = 0;
  // Between events: whether the timer runs, and its interval.
  virtual bool TimerEnabled() const = 0;
  virtual int TimerIntervalMs() const = 0;
  virtual bool Finished() const = 0;
  // The client area as it is now, 800 x 600 pixels.
  virtual void Compose(std::vector<Colour>& pixels) = 0;
};

}  // namespace pelmot
