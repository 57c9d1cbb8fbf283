#include "flow/title.h"

#include "flow/greeting.h"
#include "gallery/gallery.h"
#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "menus/system_menu.h"
#include "persist/data_files.h"
#include "platform/ui_text.h"
#include "present/menu_page.h"
#include "present/pictures.h"
#include "shell/display_mode.h"
#include "shell/layout.h"
#include "shell/movie.h"
#include "shell/shutdown.h"

namespace pelmot {
namespace {

// The CG mode menu's rows.
enum CgModeItem { kCgAlbum = 0, kCgSlideShow = 1 };

void CloseMovieAndGreet(Game& game) {
  GameState& s = game.state;
  CloseLogoMovie(game);
  game.form.MainPic.Clear();
  PlaceControl(game, game.form.MainPic, kScreenWidth, kScreenHeight, 0, 0, 15);
  Greeting(game);
  if (s.SaveDate[10].empty()) {
    s.StepNo[kModeTitle] = kTitleNewGame;
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
  ++game.playsBegun;
  ShowEventPic(game, kTitlePicture, PictureShow::Now);
}

void ShowTitleMenu(Game& game) {
  game.state.ClickAdvances = false;
  DrawMenu(game, [] {
    return MenuPage{{Ui(UiText::title_start), Ui(UiText::title_load), Ui(UiText::cg_mode), Ui(UiText::title_quit)}, ""};
  });
}

void CgModeStep(Game& game, int step) {
  GameState& s = game.state;
  if (step == kTitleItemFirst) {
    DrawMenu(game, [] {
      return MenuPage{{Ui(UiText::cg_album), Ui(UiText::cg_slideshow), Ui(UiText::cancel)}, Ui(UiText::cg_mode)};
    });
  } else if (step == kTitleItemSecond) {
    if (s.ChoiceNo == kCgAlbum) {
      ShowAlbum(game);
      ResetStep(game);
      s.FlowMode = kModeAlbum;
    } else if (s.ChoiceNo == kCgSlideShow) {
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
  if (step == kTitleItemFirst) {
    AskToQuit(game);
  } else if (step == kTitleItemSecond) {
    if (game.state.ChoiceNo == kYesRow) {
      QuitSequence(game);
    } else {
      ReturnToTitle(game);
      RunFlow(game);
    }
  }
}

void ActOnTitleChoice(Game& game) {
  GameState& s = game.state;
  const int step = s.StepNo[kModeTitle];
  if (step == kTitleItemFirst) s.TitleChoice = s.ChoiceNo;
  switch (s.TitleChoice) {
    case kTitleStart:
      s.FlowMode = kModeScene;
      s.SceneNo = 0;
      RunFlow(game);
      break;
    case kTitleLoad: TitleLoad(game); break;
    case kTitleCgMode: CgModeStep(game, step); break;
    case kTitleQuit: QuitStep(game, step); break;
    default: break;
  }
}

}  // namespace

void RunTitleStep(Game& game) {
  switch (game.state.StepNo[kModeTitle]) {
    case kTitleGreeting: CloseMovieAndGreet(game); break;
    case kTitleNewGame: NewGameAndTitlePicture(game); break;
    case kTitleMenu: ShowTitleMenu(game); break;
    default: ActOnTitleChoice(game); break;
  }
}

}  // namespace pelmot
