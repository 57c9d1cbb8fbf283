// The gamepad as the game takes it: each button stands for a key (A for
// Enter, B for Escape, Y for Home, the d-pad for the arrows, the left
// shoulder for PageUp, the right one for End, Back for F3) and the right
// trigger, pulled, for a held Shift, repeated as a held key repeats. The
// window's controllers and the headless `pad` command both go through here.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/key_repeat.h"
#include "platform/window.h"

namespace pelmot {

enum class PadButton { kA, kB, kY, kUp, kDown, kLeft, kRight, kLeftShoulder, kRightShoulder, kBack, kRightTrigger };

// The VirtualKey a button stands for (kVkShift for the right trigger).
int PadButtonKey(PadButton button);
// The button of a script's name: a, b, y, up, down, left, right,
// leftshoulder, rightshoulder, back, righttrigger.
std::optional<PadButton> PadButtonNamed(std::string_view name);
// The names, for messages.
const char* PadButtonNames();

// The controllers' input turned into key events.
class PadInput {
 public:
  // The key event a button's press or release stands for.
  InputEvent Button(PadButton button, bool down) const;
  // The right trigger at `value` (0 ... 32767) at nowMs: Shift goes down
  // past two thirds of the way and up again below one third.
  std::optional<InputEvent> Trigger(int value, std::int64_t nowMs);
  bool TriggerHeld() const { return held_; }
  // Milliseconds from nowMs to the held trigger's next repeat.
  std::optional<std::int64_t> MillisToNextRepeat(std::int64_t nowMs) const;
  // The repeated key-down due at nowMs, if one is.
  std::optional<InputEvent> TakeRepeat(std::int64_t nowMs);

 private:
  bool held_ = false;
  KeyRepeat repeat_;
};

}  // namespace pelmot
