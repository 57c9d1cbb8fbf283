#include "shell/startup.h"

#include "game/game.h"
#include "present/system_pictures.h"
#include "persist/data_files.h"
#include "shell/display_mode.h"
#include "shell/layout.h"
#include "shell/movie.h"

namespace pelmot {
namespace {

void PlaceAllControls(Game& game) {
  MainForm& f = game.form;
  PlaceControl(game, f.MainPic, 800, 600, 0, 0, 15);
  PlaceControl(game, f.MainWork, 800, 600, 0, 0, 15);
  PlaceControl(game, f.Msg, 800, 600, 0, 0, 18);
  PlaceControl(game, f.MsgWk, 800, 600, 0, 0, 18);
  PlaceControl(game, f.MsgMk, 800, 600, 0, 0, 18);
  PlaceControl(game, f.CMenu, 800, 600, 0, 0, 18);
  PlaceControl(game, f.SkipB, 20, 180, 780, 410, 15);
}

void LoadSystemPictures(Game& game) {
  // The album pages wait until the album first shows them: a player who
  // never opens it never pays for ten full pictures.
  LoadSystemPicture(game, 0);
  LoadSystemPicture(game, 11);
}

}  // namespace

std::string DataFolderBelow(const std::string& dataRoot) { return dataRoot + "/TORMVEL/PELMOT"; }

bool ClaimSingleInstance(Files& files, const std::string& dataRoot, InstanceLock& lock) {
  // The lock file lives in the data folder, so the folders come first.
  files.MakePath(dataRoot + "/TORMVEL");
  files.MakePath(DataFolderBelow(dataRoot));
  return lock.Acquire(DataFolderBelow(dataRoot)) != InstanceLock::Result::kHeldElsewhere;
}

void StartUp(Game& game) {
  GameState& s = game.state;
  MainForm& f = game.form;
  PlaceAllControls(game);
  s.StartDisplay = game.services.display.Current();
  s.WinDir = game.paths.dataRoot;
  game.services.files.MakePath(s.WinDir + "/TORMVEL");
  game.services.files.MakePath(DataFolderBelow(s.WinDir));
  // The picture loader is built in: there is no library to put in place.
  ReadPersistentData(game);
  LoadSystemPictures(game);
  f.SkipB.BitBlt(0, 0, 20, 180, s.SysPic[11], 565, 225, Rop::SrcCopy);
  f.MainPic.visible = true;
  CentreWindow(game);
  // The window itself shows when its event loop starts, right after this.
  PlaceControl(game, f.MainPic, 800, 600, 85, 190, 15);
  StartLogoMovie(game);
  s.ClickAdvances = true;
}

}  // namespace pelmot
