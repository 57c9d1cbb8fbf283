// The picture gallery: album pages, the album viewer and the slideshow.
#pragma once

namespace pelmot {

class Game;

void ShowAlbum(Game& game);
void AlbumView(Game& game);
void SlideShow(Game& game);

}  // namespace pelmot
