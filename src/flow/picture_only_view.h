// The picture-only view: a right press in scene play hides the message
// window and shows the picture alone (FlowMode kModeSystemMenu with a click
// advancing, before the system menu is drawn).
#pragma once

namespace pelmot {

class Game;

// FlowMode kModeSystemMenu with nothing to pick: the picture alone shows,
// the menu is not drawn yet.
bool InPictureOnlyView(const Game& game);
void OpenPictureOnlyView(Game& game);
// Back to the scene or choice the view interrupted, its page on screen.
void LeavePictureOnlyView(Game& game);

}  // namespace pelmot
