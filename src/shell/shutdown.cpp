#include "shell/shutdown.h"

#include "flow/game.h"
#include "persist/data_files.h"
#include "shell/display_mode.h"
#include "shell/movie.h"

namespace pelmot {

void Form_QueryUnload(Game& game) {
  if (!game.services.dialogs.AskYesNo("ゲームを終了しますか？")) return;
  CloseLogoMovie(game);
  // A player expects the desktop back as it was, as the quit commands do.
  RestoreStartDisplay(game);
  WriteLastPlayStamp(game);
  game.quitRequested = true;
}

}  // namespace pelmot
