// A short line in the top left corner telling what a key did where nothing
// else shows it (a quick save or load, or why there was none). It goes by
// itself a couple of seconds later and changes nothing underneath.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace pelmot {

class Game;

inline constexpr int kCornerLineShowsMs = 2000;

struct CornerLine {
  std::string text;  // empty: nothing shows
};

// Shows `text` (a newer line replaces an older one and shows its own time).
void ShowCornerLine(Game& game, CornerLine& line, const std::string& text);
// Called by the corner line's timer.
void HideCornerLine(Game& game, CornerLine& line);
// The line on screen, if any.
std::optional<std::string> CornerLineText(const CornerLine& line);
// Draws the line over the composed client area: light text in a box that
// darkens what is under it.
void DrawCornerLine(Game& game, const CornerLine& line, std::span<Colour> pixels);

}  // namespace pelmot
