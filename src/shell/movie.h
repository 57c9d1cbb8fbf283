// The logo movie, driven by the multimedia command strings.
#pragma once

namespace pelmot {

class Game;

// Opens and plays the content folder's LOGO.avi inside MainPic.
void StartLogoMovie(Game& game);
// Closes the movie if one is open and forgets its path.
void CloseLogoMovie(Game& game);

}  // namespace pelmot
