// The game controllers plugged into the machine, through SDL's game
// controller API: each is opened as it comes (SDL announces those present
// at start the same way) and its buttons become key events (see
// platform/gamepad.h).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "platform/gamepad.h"
#include "platform/window.h"

namespace pelmot {

class Gamepads {
 public:
  Gamepads();
  ~Gamepads();
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // The key events a controller event stands for; none for other events.
  std::vector<InputEvent> Translate(const SDL_Event& e);
  // A pulled right trigger repeats its Shift as a held key does.
  std::optional<std::int64_t> MillisToNextRepeat(std::int64_t nowMs) const { return input_.MillisToNextRepeat(nowMs); }
  std::optional<InputEvent> TakeRepeat(std::int64_t nowMs) { return input_.TakeRepeat(nowMs); }

 private:
  bool started_ = false;
  std::map<SDL_JoystickID, SDL_GameController*> open_;
  PadInput input_;
};

}  // namespace pelmot
