// The frame that follows the pointer over the rows of a menu or choice.
// Each repaints MainPic's clean image and frames the row under the pointer
// at x, y if the pointer is over that item's text; the mode on screen says
// which one applies.
#pragma once

#include <optional>

namespace pelmot {

class Game;
class Surface;

// A scene choice in the message window.
void FrameWindowChoiceRow(Game& game, int x, int y);
// A choice on the full-screen page.
void FramePageChoiceRow(Game& game, int x, int y);
// A centred menu: the title's and the system menu's.
void FrameMenuRow(Game& game, int x, int y);

// The row of the centred menu on screen that the pointer at x, y frames.
std::optional<int> MenuRowFramedAt(const Game& game, int x, int y);
// Draws the frame of that menu's row `row` on `pic`.
void FrameMenuRowOn(const Game& game, Surface& pic, int row);

}  // namespace pelmot
