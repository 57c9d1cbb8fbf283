// The frame that follows the pointer over the rows of a menu or choice.
#pragma once

namespace pelmot {

class Game;

// The pointer moved to x, y over an enabled MainPic: repaint the clean
// image and frame the row under the pointer, if it is over an item's text.
void FrameRowUnderPointer(Game& game, int x, int y);

}  // namespace pelmot
