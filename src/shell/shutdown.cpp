#include "shell/shutdown.h"

#include "game/game.h"
#include "persist/data_files.h"
#include "platform/ui_text.h"
#include "shell/display_mode.h"
#include "shell/movie.h"

namespace pelmot {

void QuitSequence(Game& game) {
  CloseLogoMovie(game);
  // A player expects the desktop back as it was.
  RestoreStartDisplay(game);
  WriteLastPlayStamp(game);
  // The seen flags reach the disk before the game ends; a failure among
  // them still gets its box, which the game waits for before it goes.
  game.services.files.FinishLaterWrites();
  ReportLateWriteFailure(game);
  game.quitRequested = true;
}

void Form_QueryUnload(Game& game) {
  // The game goes on untouched until the answer comes; yes quits then.
  game.services.dialogs.AskYesNo(Ui(UiText::ask_quit), [&game](bool yes) {
    if (yes) QuitSequence(game);
  });
}

}  // namespace pelmot
