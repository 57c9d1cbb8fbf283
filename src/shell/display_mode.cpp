#include "shell/display_mode.h"

#include "game/game.h"

namespace pelmot {

void CentreWindow(Game& game) {
  Display& d = game.services.display;
  d.MoveWindow((d.ScreenWidth() - game.form.clientWidth) / 2, (d.ScreenHeight() - game.form.clientHeight) / 2);
}

void ToggleResolution(Game& game) {
  Display& d = game.services.display;
  DisplaySettings work = d.Current();
  const DisplaySettings& start = game.state.StartDisplay;
  work.bitsPerPixel = 16;
  // The display switches to the game's own size, or back to where it started.
  if (work.width != kScreenWidth && work.height != kScreenHeight) {
    work.width = kScreenWidth;
    work.height = kScreenHeight;
  } else if (start.width != kScreenWidth && start.height != kScreenHeight) {
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
