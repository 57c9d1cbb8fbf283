// The author's strip along the bottom of the screen: the first problem of
// a scenario edited while the game runs (--author, or a script's reload),
// with its file and line. The game goes on with the scenario it had, and
// the strip stays until the scenario is mended. Without a reload that found
// a problem nothing shows.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/surface.h"

namespace pelmot {

class Game;

void ShowContentProblem(Game& game, const std::string& problem);
void ClearContentProblem(Game& game);
// The problem on the strip, if any.
std::optional<std::string> ContentProblemText(const Game& game);
// Draws the strip over the composed client area: light text on a dark band.
void DrawContentProblem(Game& game, std::span<Colour> pixels);

}  // namespace pelmot
