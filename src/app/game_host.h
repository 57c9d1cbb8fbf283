// The game as the platform sees it: one event at a time, one frame at a
// time, and nothing in between that blocks. The desktop window and the
// headless runner both drive the game through this; a loop that gets one
// callback per animation frame would call the same two functions.
#pragma once

#include <cstdint>
#include <span>
#include <optional>
#include <vector>

#include "game/timers.h"
#include "platform/timed_drawing.h"
#include "platform/window.h"

namespace pelmot {

class DialogQueue;
class Game;

class GameHost : public WindowEvents {
 public:
  // `boxes`: the game's own message boxes, where the platform leaves them to
  // the game (null where its Dialogs answer at once, as headless); `movie`:
  // drawing on the movie's own schedule (null for none).
  // The game has started: the comforts read their files here.
  explicit GameHost(Game& game, DialogQueue* boxes = nullptr, TimedDrawing* movie = nullptr);

  // To the open message box if there is one, else to the game's handlers.
  void OnEvent(const InputEvent& event) override;
  // Fires the due timers (none while a box is open) and the movie's drawing.
  bool OnFrame(std::int64_t nowMs) override;
  std::optional<std::int64_t> MillisToNextWork(std::int64_t nowMs) override;
  // The game has quit and no box is left to show.
  bool Finished() const override;
  // The client area, with the open box over it dimmed.
  void Compose(std::span<Colour> pixels) override;

  // One firing of `name`'s handler, if the timer runs.
  void FireTimer(TimerName name);

 private:
  bool BoxOpen() const;
  void ToHandlers(const InputEvent& event);
  void ToGameHandlers(const InputEvent& event);
  Game& game_;
  DialogQueue* boxes_;
  TimedDrawing* movie_;
};

}  // namespace pelmot
