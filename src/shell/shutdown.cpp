#include "shell/shutdown.h"

#include "game/game.h"
#include "persist/data_files.h"
#include "shell/display_mode.h"
#include "shell/movie.h"

namespace pelmot {

void QuitSequence(Game& game) {
  CloseLogoMovie(game);
  // A player expects the desktop back as it was.
  RestoreStartDisplay(game);
  WriteLastPlayStamp(game);
  game.quitRequested = true;
}

void Form_QueryUnload(Game& game) {
  if (!game.services.dialogs.AskYesNo("ゲームを終了しますか？")) return;
  QuitSequence(game);
}

}  // namespace pelmot
