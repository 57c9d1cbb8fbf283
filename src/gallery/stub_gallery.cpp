// Placeholder gallery until the album and slideshow are built.
#include "flow/game.h"
#include "gallery/gallery.h"
#include "persist/menus.h"
#include "flow/run_flow.h"

namespace pelmot {

void ShowAlbum(Game& game) { game.form.MainPic.enabled = true; }
void AlbumView(Game& game) {
  ResetStep(game);
  ShowAlbum(game);
}
void SlideShow(Game& game) {
  ReturnToTitle(game);
  RunFlow(game);
}

}  // namespace pelmot
