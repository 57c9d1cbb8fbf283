#include "platform/web/web_keys.h"

#include <array>
#include <utility>

#include "platform/window.h"

namespace pelmot {
namespace {

// Codes name physical keys, so the map holds whatever the keyboard layout.
constexpr std::array<std::pair<std::string_view, int>, 10> kKeys = {{
    {"Enter", kVkEnter},
    {"NumpadEnter", kVkEnter},
    {"ShiftLeft", kVkShift},
    {"ShiftRight", kVkShift},
    {"F1", kVkF1},
    {"Tab", kVkTab},
    {"Escape", kVkEscape},
    {"Space", kVkSpace},
    {"ArrowLeft", kVkLeft},
    {"ArrowRight", kVkRight},
}};

}  // namespace

int VirtualKeyForCode(std::string_view code) {
  for (const auto& [name, key] : kKeys)
    if (name == code) return key;
  return 0;
}

}  // namespace pelmot
