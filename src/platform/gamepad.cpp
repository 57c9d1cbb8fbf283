#include "platform/gamepad.h"

#include <algorithm>

namespace pelmot {
namespace {

constexpr int kTriggerFull = 32767;
constexpr int kTriggerPressed = kTriggerFull * 2 / 3;
constexpr int kTriggerReleased = kTriggerFull / 3;

struct Named {
  std::string_view name;
  PadButton button;
};
constexpr Named kNames[] = {{"a", PadButton::kA},
                            {"b", PadButton::kB},
                            {"y", PadButton::kY},
                            {"up", PadButton::kUp},
                            {"down", PadButton::kDown},
                            {"left", PadButton::kLeft},
                            {"right", PadButton::kRight},
                            {"leftshoulder", PadButton::kLeftShoulder},
                            {"rightshoulder", PadButton::kRightShoulder},
                            {"back", PadButton::kBack},
                            {"righttrigger", PadButton::kRightTrigger}};

InputEvent KeyEvent(int key, bool down, bool shiftHeld) {
  InputEvent e{down ? InputEvent::Kind::kKeyDown : InputEvent::Kind::kKeyUp};
  e.key = key;
  e.shift = shiftHeld ? 1 : 0;
  return e;
}

}  // namespace

int PadButtonKey(PadButton button) {
  switch (button) {
    case PadButton::kA: return kVkEnter;
    case PadButton::kB: return kVkEscape;
    case PadButton::kY: return kVkHome;
    case PadButton::kUp: return kVkUp;
    case PadButton::kDown: return kVkDown;
    case PadButton::kLeft: return kVkLeft;
    case PadButton::kRight: return kVkRight;
    case PadButton::kLeftShoulder: return kVkPageUp;
    case PadButton::kRightShoulder: return kVkEnd;
    case PadButton::kBack: return kVkF3;
    case PadButton::kRightTrigger: return kVkShift;
  }
  return 0;
}

std::optional<PadButton> PadButtonNamed(std::string_view name) {
  for (const Named& n : kNames)
    if (n.name == name) return n.button;
  return std::nullopt;
}

const char* PadButtonNames() {
  return "a, b, y, up, down, left, right, leftshoulder, rightshoulder, back, righttrigger";
}

InputEvent PadInput::Button(PadButton button, bool down) const { return KeyEvent(PadButtonKey(button), down, held_); }

std::optional<InputEvent> PadInput::Trigger(int value, std::int64_t nowMs) {
  if (!held_ && value > kTriggerPressed) {
    held_ = true;
    repeat_.Press(nowMs);
    return KeyEvent(kVkShift, true, true);
  }
  if (held_ && value < kTriggerReleased) {
    held_ = false;
    repeat_.Release();
    return KeyEvent(kVkShift, false, false);
  }
  return std::nullopt;
}

std::optional<std::int64_t> PadInput::MillisToNextRepeat(std::int64_t nowMs) const {
  return repeat_.MillisToNext(nowMs);
}

std::optional<InputEvent> PadInput::TakeRepeat(std::int64_t nowMs) {
  if (!repeat_.TakeDue(nowMs)) return std::nullopt;
  InputEvent e = KeyEvent(kVkShift, true, true);
  e.repeat = 1;
  return e;
}

}  // namespace pelmot
