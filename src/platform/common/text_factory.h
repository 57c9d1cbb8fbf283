// The text engine the game draws with: the window's font, and the western
// face beside it.
#pragma once

#include <memory>
#include <string>

#include "platform/services.h"

namespace pelmot {

// The window's font; without one, an engine that draws every character as
// a block. Then `problem` (when given) says why in a sentence; without it,
// a warning goes to standard error.
std::unique_ptr<TextEngine> MakeWindowFont(std::string* problem = nullptr);

// A sentence for the player when `text` has the window's font but not the
// western face (TextFace::kWestern then draws with the window's); empty
// otherwise. Worth saying once, when a western language is chosen.
std::string MissingWesternFaceText(const TextEngine& text);

}  // namespace pelmot
