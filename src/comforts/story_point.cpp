#include "comforts/story_point.h"

#include "game/game.h"
#include "game/run_flow.h"
#include "present/pictures.h"
#include "present/shown_language.h"
#include "scenes/story_runner.h"

namespace pelmot {
namespace {

bool HoldsPictureOf(const Game& game, const StoryPoint& point) {
  if (game.mainWorkPicture != point.picture || game.mainWorkIsBackground != point.background) return false;
  return !point.background || game.mainWorkStatus == point.status;
}

void RestorePicture(Game& game, const StoryPoint& point) {
  if (!IsScenePicture(point.picture)) {
    game.form.MainWork.Clear();
    game.mainWorkPicture = kNoPicture;
    game.mainWorkIsBackground = false;
  } else if (!HoldsPictureOf(game, point)) {
    if (point.background) {
      // The display shows the values of when the background was loaded.
      const SaveRecord now = game.state.SaveRecord;
      game.state.SaveRecord = point.status;
      LoadBackgroundPicture(game, point.picture);
      game.state.SaveRecord = now;
    } else {
      LoadIntoMainWork(game, point.picture);
    }
  }
  game.state.ShownPic = point.shownPic;
}

}  // namespace

StoryPoint CaptureStoryPoint(const Game& game) {
  const GameState& s = game.state;
  StoryPoint point;
  point.record = s.SaveRecord;
  point.scene = s.SceneNo;
  point.step = s.StepNo[kModeScene];
  point.pendingText = s.PendingText;
  if (!point.pendingText.empty()) point.language = LanguageCode(game);
  point.picture = game.mainWorkPicture;
  point.shownPic = s.ShownPic;
  point.background = game.mainWorkIsBackground;
  if (point.background) point.status = game.mainWorkStatus;
  point.picksEnabled = game.form.MainPic.enabled;
  return point;
}

void RestoreScreen(Game& game, const StoryPoint& point) {
  GameState& s = game.state;
  ResetStep(game);
  s.FlowMode = kModeScene;
  s.StepNo[kModeScene] = point.step;
  s.SceneNo = point.scene;
  RestorePicture(game, point);
  s.PendingText.clear();
  ShowEmptyPageOf(game, point.scene);
}

void RunStepAt(Game& game, const StoryPoint& point) {
  GameState& s = game.state;
  s.FlowMode = kModeScene;
  s.SaveRecord = point.record;
  s.SceneNo = point.scene;
  s.StepNo[kModeScene] = point.step;
  // A rest in another language cannot continue this one's pages: the line
  // starts again from its first page.
  s.PendingText = point.language == LanguageCode(game) ? point.pendingText : std::string();
  s.ShownPic = point.shownPic;
  game.form.MainPic.enabled = point.picksEnabled;
  game.pickJustMade = false;  // the point holds the pick already
  RunFlow(game);
}

}  // namespace pelmot
