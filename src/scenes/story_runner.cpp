#include "scenes/story_runner.h"

#include <utility>

#include "game/game.h"
#include "game/run_flow.h"
#include "persist/data_files.h"
#include "present/choices.h"
#include "present/menu_page.h"
#include "present/pictures.h"
#include "present/text_window.h"
#include "scenes/compose_story.h"
#include "scenes/op_walk.h"
#include "scenes/picture_lookahead.h"
#include "scenes/story_structure.h"

namespace pelmot {
namespace {

// What the operations that let a step go on do in the game.
class GameEffects {
 public:
  GameEffects(Game& game, Family family) : game_(game), record_(game.state.SaveRecord), family_(family) {}
  int Condition() const { return record_.Condition; }
  int LastChoice() const { return record_.LastChoice; }
  void Picture(const Op& op) { ShowEventPic(game_, op.a, PictureShow::WithNextText); }
  void Background(const Op& op) { ShowBackPic(game_, op.a); }
  void Line(const Op& op) { ShowSceneLine(game_, family_, op.text, op.textId); }
  void StopSkip(const Op&) { pelmot::StopSkip(game_); }
  void AddParam(const Op& op) { pelmot::AddParam(game_, op.a, static_cast<std::int16_t>(op.b)); }
  void SetCondition(const Op& op) { record_.Condition = static_cast<std::int16_t>(op.a); }
  void SetDay(const Op& op) { record_.DayNo = static_cast<std::int16_t>(op.a); }

 private:
  Game& game_;
  SaveRecord& record_;
  Family family_;
};

void GoToScene(Game& game, int sceneNo) {
  ResetStep(game);
  game.state.SceneNo = static_cast<std::int16_t>(sceneNo);
  RunFlow(game);
}

void Jump(Game& game, int step) {
  game.state.StepNo[kModeScene] = static_cast<std::int16_t>(step);
  RunFlow(game);
}

void FinishEnding(Game& game, int ending) {
  game.state.EndingNo() = static_cast<std::uint8_t>(ending);
  WriteCgSeen(game);
  ReturnToTitle(game);
  RunFlow(game);
}

// Shows the choice, or hands on: a hand-on runs the next step at once.
void FollowExit(Game& game, Family family, const StepExit& exit) {
  GameState& s = game.state;
  switch (exit.kind) {
    case StepExit::Kind::Waits: return;
    case StepExit::Kind::Choice:
      if (family == Family::Day)
        ShowChoice(game, exit.options->options, exit.options->ids);
      else
        ShowChoice2(game, exit.options->options, exit.options->ids);
      return;
    case StepExit::Kind::ToStep: Jump(game, exit.target); return;
    case StepExit::Kind::ToScene: GoToScene(game, exit.target); return;
    case StepExit::Kind::SelectEnding: GoToScene(game, SelectEndingScene(s.SaveRecord.Params, s.EndingNo())); return;
    case StepExit::Kind::GameOver:
      ResetStep(game);
      ReturnToTitle(game);
      RunFlow(game);
      return;
    case StepExit::Kind::Ending: FinishEnding(game, exit.target); return;
  }
}

}  // namespace

void RunSceneStep(Game& game, const SceneScript& scene) {
  GameState& s = game.state;
  SaveRecord& r = s.SaveRecord;
  const int step = s.StepNo[kModeScene];
  // The step after a choice keeps the pick before anything reads it, in the
  // pick's own event. Run again later (to continue its text, or after a
  // loaded game resumes there) a menu has overwritten ChoiceNo meanwhile,
  // and LastChoice already holds the pick.
  const bool pickEvent = std::exchange(game.pickJustMade, false);
  if (pickEvent && s.PendingText.empty() && TakesPick(scene, step, r.Condition)) r.LastChoice = s.ChoiceNo;
  if (game.sceneStepStarts) game.sceneStepStarts();
  const LaneStep current = StepToRun(scene, step, r.Condition, r.LastChoice);
  if (!current.step) return;
  GameEffects effects(game, scene.family);
  FollowExit(game, scene.family, WalkOps(current.step->ops, step, effects));
  // Where play stands now (after any jump), the pictures that can come next.
  HintUpcomingPictures(game);
}

void ShowSceneLine(Game& game, Family family, const std::string& text, std::string_view id) {
  if (family == Family::Day)
    ShowText(game, text, id);
  else
    ShowText2(game, text, id);
}

void ShowEmptyPageOf(Game& game, int sceneNo) {
  const Story* story = PlayedStory(game);
  const SceneScript* scene = story ? story->Find(sceneNo) : nullptr;
  ShowSceneLine(game, scene ? scene->family : Family::Event, "");
}

std::optional<Op> LastPictureOp(const SceneScript& scene, int step, int condition, int lastChoice) {
  for (int k = step; k >= 0; --k) {
    const Step* current = StepToRun(scene, k, condition, lastChoice).step;
    if (!current) continue;
    for (auto op = current->ops.rbegin(); op != current->ops.rend(); ++op)
      if (op->kind == OpKind::Picture || op->kind == OpKind::Background) return *op;
  }
  return std::nullopt;
}

void InstallStoryContent(Game& game, std::shared_ptr<const Content> content) {
  auto story = std::make_shared<const Story>(ComposeStory(StoryStructure(), content ? *content : Content()));
  Scenes(game) = {std::make_shared<StoryScenes>(std::move(story)), std::move(content)};
}

void StoryScenes::Run(Game& game, ProcedureLabel, int sceneNo) {
  if (const SceneScript* scene = story_->Find(sceneNo)) RunSceneStep(game, *scene);
}

}  // namespace pelmot
