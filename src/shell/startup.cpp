#include "shell/startup.h"

#include "game/game.h"
#include "game/screen_geometry.h"
#include "persist/data_files.h"
#include "present/system_pictures.h"
#include "shell/display_mode.h"
#include "shell/layout.h"
#include "shell/movie.h"

namespace pelmot {
namespace {

void PlaceAllControls(Game& game) {
  MainForm& f = game.form;
  PlaceControl(game, f.MainPic, kScreenWidth, kScreenHeight, 0, 0, 15);
  PlaceControl(game, f.MainWork, kScreenWidth, kScreenHeight, 0, 0, 15);
  PlaceControl(game, f.Msg, kScreenWidth, kScreenHeight, 0, 0, kTextFontSize);
  PlaceControl(game, f.MsgInk, kScreenWidth, kScreenHeight, kTextFontSize);
  PlaceControl(game, f.CMenu, kScreenWidth, kScreenHeight, 0, 0, kTextFontSize);
  PlaceControl(game, f.SkipB, kSkipStrip.width, kSkipStrip.height, kSkipStrip.left, kSkipStrip.top, 15);
}

void LoadSystemPictures(Game& game) {
  // The album pages wait until the album first shows them: a player who
  // never opens it never pays for ten full pictures. The status sheet waits
  // for the first background or skip button: the first frame is the logo.
  LoadSystemPicture(game, kDimmingMask);
  game.statusSheetDue = true;
}

}  // namespace

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
  f.MainPic.visible = true;
  CentreWindow(game);
  // The window itself shows when its event loop starts, right after this.
  PlaceControl(game, f.MainPic, kScreenWidth, kScreenHeight, 85, 190, 15);
  StartLogoMovie(game);
  s.ClickAdvances = true;
}

}  // namespace pelmot
