// The text engine the game draws with: the window's font.
#pragma once

#include <memory>

#include "platform/services.h"

namespace pelmot {

std::unique_ptr<TextEngine> MakeWindowFont();

}  // namespace pelmot
