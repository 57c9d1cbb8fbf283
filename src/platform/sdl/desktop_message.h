// The desktop's own message box.
#pragma once

#include <string>

namespace pelmot {

// For when the game has no font to draw its own box; false when the desktop
// has none either.
bool ShowDesktopMessage(const std::string& title, const std::string& text);

}  // namespace pelmot
