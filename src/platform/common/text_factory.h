// The text engine the game draws with: the window's font.
#pragma once

#include <memory>
#include <string>

#include "platform/services.h"

namespace pelmot {

// The window's font; without one, an engine that draws every character as
// a block. Then `problem` (when given) says why in a sentence; without it,
// a warning goes to standard error.
std::unique_ptr<TextEngine> MakeWindowFont(std::string* problem = nullptr);

}  // namespace pelmot
