#include "shell/display_mode.h"

#include "game/game.h"

namespace pelmot {

void CentreWindow(Game& game) {
  Display& d = game.services.display;
  d.MoveWindow((d.ScreenWidth() - game.form.clientWidth) / 2,
               (d.ScreenHeight() - game.form.clientHeight) / 2);
}

void ToggleResolution(Game& game) {
  Display& d = game.services.display;
  DisplaySettings work = d.Current();
  const DisplaySettings& start = game.state.StartDisplay;
  work.bitsPerPixel = 16;
  if (work.width != 800 && work.height != 600) {
    work.width = 800;
    work.height = 600;
  } else if (start.width != 800 && start.height != 600) {
    work.width = start.width;
    work.height = start.height;
  } else {
    return;
  }
  d.Change(work);
  CentreWindow(game);
}

void RestoreStartDisplay(Game& game) {
  Display& d = game.services.display;
  DisplaySettings work = d.Current();
  const DisplaySettings& start = game.state.StartDisplay;
  work.bitsPerPixel = 16;
  if (work.width != start.width && work.height != start.height) {
    work.width = start.width;
    work.height = start.height;
    d.Change(work);
    CentreWindow(game);
  }
}

}  // namespace pelmot
