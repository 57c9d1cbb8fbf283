// The logo movie, driven by the multimedia command strings.
#pragma once

namespace pelmot {

class Game;

// The window handle of MainPic named in the open command; the window's
// multimedia layer knows MainPic under this number.
constexpr long long kMainPicHandle = 1;

// Opens and plays the content folder's LOGO.avi inside MainPic.
void StartLogoMovie(Game& game);
// Closes the movie if one is open and forgets its path.
void CloseLogoMovie(Game& game);

}  // namespace pelmot
