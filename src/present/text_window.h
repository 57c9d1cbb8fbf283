// The text window: one scenario line laid out in rows over the picture.
#pragma once

#include <string>

namespace pelmot {

class Game;

// Message window across the bottom of the screen.
void ShowText(Game& game, const std::string& text);
// Text over the whole screen.
void ShowText2(Game& game, const std::string& text);

}  // namespace pelmot
