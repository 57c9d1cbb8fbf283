#include "platform/sdl/gamepads.h"

namespace pelmot {
namespace {

std::optional<PadButton> ToPadButton(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return PadButton::kA;
    case SDL_CONTROLLER_BUTTON_B: return PadButton::kB;
    case SDL_CONTROLLER_BUTTON_Y: return PadButton::kY;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::kUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::kDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::kLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::kRight;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::kLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::kRightShoulder;
    case SDL_CONTROLLER_BUTTON_BACK: return PadButton::kBack;
    default: return std::nullopt;
  }
}

std::int64_t Now() { return static_cast<std::int64_t>(SDL_GetTicks64()); }

}  // namespace

// Without the subsystem (no joystick support on the machine) the game
// plays on with the mouse and keyboard.
Gamepads::Gamepads() { started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0; }

Gamepads::~Gamepads() {
  for (auto& [id, controller] : open_) SDL_GameControllerClose(controller);
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

std::vector<InputEvent> Gamepads::Translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
      if (SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which))
        open_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c))] = c;
      return {};
    case SDL_CONTROLLERDEVICEREMOVED: {
      auto it = open_.find(e.cdevice.which);
      if (it == open_.end()) return {};
      SDL_GameControllerClose(it->second);
      open_.erase(it);
      // A trigger held on a controller that went lets go of Shift.
      if (auto up = input_.Trigger(0, Now())) return {*up};
      return {};
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (auto button = ToPadButton(e.cbutton.button))
        return {input_.Button(*button, e.type == SDL_CONTROLLERBUTTONDOWN)};
      return {};
    case SDL_CONTROLLERAXISMOTION:
      if (e.caxis.axis != SDL_CONTROLLER_AXIS_TRIGGERRIGHT) return {};
      if (auto shift = input_.Trigger(e.caxis.value, Now())) return {*shift};
      return {};
    default: return {};
  }
}

}  // namespace pelmot
