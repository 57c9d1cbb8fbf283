// Text drawn at a speed: each page the text window shows appears one
// character at a time, at the speed the player set. The text window still
// draws the whole page at once; until its last character is due, what is
// presented shows the page as it was without the characters still to come.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "game/screen_geometry.h"
#include "platform/window.h"

namespace pelmot {

class Game;
struct ComfortState;
struct Settings;
struct ShownPage;

struct Typewriter {
  bool drawing = false;
  std::vector<std::u32string> rows;  // the page's new rows
  std::vector<Point> origins;        // where each was drawn
  std::vector<Colour> under;         // the page without them
  int total = 0;                     // characters of the new rows
  int shown = 0;                     // of which this many are drawn
  // The page as it was shown: when the game shows anything else, there is
  // nothing left to draw.
  long line = 0;
  std::uint64_t pageRevision = 0;
  int flowMode = 0;
};

// The text window copies each page without its new rows only while text
// has a speed.
void AskForPagesUnderText(Game& game, const Settings& settings);
// A page was shown: at a speed, and unless skipping, it starts drawing.
void TypewriterPageShown(Game& game, ComfortState& comforts, const ShownPage& page);
// Whether a page is being drawn now.
bool TypewriterDrawing(const Game& game, const ComfortState& comforts);
// The Typewriter timer fired: one more character.
void TypewriterTimer(Game& game, ComfortState& comforts);
// A click, Enter or Space while a page is drawn completes it, and that is
// all it does.
bool TypewriterTakesEvent(Game& game, ComfortState& comforts, const InputEvent& event);
// After every event: skipping draws the page at once.
void TypewriterAfterEvent(Game& game, ComfortState& comforts);
// Covers what is not drawn yet with the page as it was without it.
void DrawTypewriterCover(Game& game, const ComfortState& comforts, std::span<Colour> pixels);

}  // namespace pelmot
