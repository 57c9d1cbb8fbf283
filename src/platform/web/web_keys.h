// The browser's keys as the game takes them: KeyboardEvent.code to Windows'
// virtual key codes, the same keys the desktop window maps.
#pragma once

#include <string_view>

namespace pelmot {

// The VirtualKey for a KeyboardEvent.code ("Enter", "ShiftLeft", "F1", ...);
// 0 for any key the game does not take.
int VirtualKeyForCode(std::string_view code);

}  // namespace pelmot
