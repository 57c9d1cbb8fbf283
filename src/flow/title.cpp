#include "flow/title.h"

#include "game/game.h"
#include "flow/greeting.h"
#include "game/run_flow.h"
#include "gallery/gallery.h"
#include "persist/data_files.h"
#include "menus/system_menu.h"
#include "present/menu_page.h"
#include "present/pictures.h"
#include "shell/display_mode.h"
#include "shell/layout.h"
#include "shell/movie.h"
#include "shell/shutdown.h"

namespace pelmot {
namespace {

enum TitleItem { kStart = 0, kLoad = 1, kCgMode = 2, kQuit = 3 };

void CloseMovieAndGreet(Game& game) {
  GameState& s = game.state;
  CloseLogoMovie(game);
  game.form.MainPic.Clear();
  PlaceControl(game, game.form.MainPic, 800, 600, 0, 0, 15);
  Greeting(game);
  if (s.SaveDate[10].empty()) {
    s.StepNo[0] = 2;
    RunFlow(game);
  }
}

void NewGameAndTitlePicture(Game& game) {
  GameState& s = game.state;
  s.SaveRecord.Params = {0, 0, 0, 0};
  s.SaveRecord.DayNo = 1;
  s.SaveRecord.Condition = 0;
  s.SceneNo = 0;
  s.AlbumPage = 0;
  s.ShownPic = kNoPicture;
  s.PendingText.clear();  // an unfinished page never leaks into a new game
  ShowEventPic(game, 0, 1);
}

void ShowTitleMenu(Game& game) {
  game.state.ClickAdvances = false;
  DrawMenu(game, {"ゲームスタート", "ゲームロード", "ＣＧモード", "ゲームを終了する"}, "");
}

void CgModeStep(Game& game, int step) {
  GameState& s = game.state;
  if (step == 4) {
    DrawMenu(game, {"アルバムモード", "スライドショー", "キャンセル"}, "ＣＧモード");
  } else if (step == 5) {
    if (s.ChoiceNo == 0) {
      ShowAlbum(game);
      ResetStep(game);
      s.FlowMode = kModeAlbum;
    } else if (s.ChoiceNo == 1) {
      ResetStep(game);
      s.FlowMode = kModeSlideShow;
      RunFlow(game);
    } else {
      ReturnToTitle(game);
      RunFlow(game);
    }
  }
}

void QuitStep(Game& game, int step) {
  if (step == 4) {
    DrawMenu(game, {"はい", "いいえ"}, "ゲームを終了してWINDOWSに戻りますか？");
  } else if (step == 5) {
    if (game.state.ChoiceNo == 0) {
      QuitSequence(game);
    } else {
      ReturnToTitle(game);
      RunFlow(game);
    }
  }
}

void ActOnTitleChoice(Game& game) {
  GameState& s = game.state;
  const int step = s.StepNo[0];
  if (step == 4) s.TitleChoice = s.ChoiceNo;
  switch (s.TitleChoice) {
    case kStart:
      s.FlowMode = kModeScene;
      s.SceneNo = 0;
      RunFlow(game);
      break;
    case kLoad:
      TitleLoad(game);
      break;
    case kCgMode:
      CgModeStep(game, step);
      break;
    case kQuit:
      QuitStep(game, step);
      break;
    default:
      break;
  }
}

}  // namespace

void RunTitleStep(Game& game) {
  switch (game.state.StepNo[0]) {
    case 1:
      CloseMovieAndGreet(game);
      break;
    case 2:
      NewGameAndTitlePicture(game);
      break;
    case 3:
      ShowTitleMenu(game);
      break;
    default:
      ActOnTitleChoice(game);
      break;
  }
}

}  // namespace pelmot
