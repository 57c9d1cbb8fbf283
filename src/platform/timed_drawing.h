// Something that draws on its own schedule between the window's events, on
// the window's own thread (the logo movie). The window asks how long it may
// wait, and after waiting lets it draw what has come due.
#pragma once

#include <cstdint>
#include <optional>

namespace pelmot {

class TimedDrawing {
 public:
  virtual ~TimedDrawing() = default;
  // Milliseconds until something is due (0: now); nothing when idle.
  virtual std::optional<std::int64_t> MillisToNextDrawing() = 0;
  // Draws what is due; true when the screen changed.
  virtual bool DrawDue() = 0;
};

}  // namespace pelmot
