#include "scenes/story_runner.h"

#include <utility>

#include "game/game.h"
#include "game/run_flow.h"
#include "persist/data_files.h"
#include "present/menu_page.h"
#include "present/choices.h"
#include "present/pictures.h"
#include "present/text_window.h"
#include "scenes/compose_story.h"
#include "scenes/picture_lookahead.h"
#include "scenes/story_structure.h"

namespace pelmot {
namespace {

void ShowLine(Game& game, Family family, const std::string& text) {
  if (family == Family::Day) ShowText(game, text);
  else ShowText2(game, text);
}

void ShowOptions(Game& game, Family family, const Op& op) {
  const int condition = game.state.SaveRecord.Condition;
  for (const OptionSet& set : op.optionSets) {
    if (!set.conditions.Holds(condition)) continue;
    if (family == Family::Day) ShowChoice(game, set.options);
    else ShowChoice2(game, set.options);
    return;
  }
  // No option set for this Condition: the scenario never comes here, and
  // the step does nothing.
}

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

void RunBranch(Game& game, Family family, const Op& op) {
  const SaveRecord& r = game.state.SaveRecord;
  for (const BranchCase& c : op.cases) {
    if (!c.Holds(r.LastChoice, r.Condition)) continue;
    RunOps(game, family, c.ops);
    return;
  }
}

}  // namespace

void RunOps(Game& game, Family family, const std::vector<Op>& ops) {
  GameState& s = game.state;
  SaveRecord& r = s.SaveRecord;
  for (const Op& op : ops) {
    switch (op.kind) {
      case OpKind::Picture:
        ShowEventPic(game, op.a, PictureShow::WithNextText);
        break;
      case OpKind::Background:
        ShowBackPic(game, op.a);
        break;
      case OpKind::Line:
        ShowLine(game, family, op.text);
        break;
      case OpKind::StopSkip:
        StopSkip(game);
        break;
      case OpKind::Choice:
        ShowOptions(game, family, op);
        break;
      case OpKind::AddParam:
        AddParam(game, op.a, static_cast<std::int16_t>(op.b));
        break;
      case OpKind::SetCondition:
        r.Condition = static_cast<std::int16_t>(op.a);
        break;
      case OpKind::SetDay:
        r.DayNo = static_cast<std::int16_t>(op.a);
        break;
      case OpKind::Advance:
        Jump(game, Add16(s.StepNo[kModeScene], 1));
        return;
      case OpKind::Jump:
        Jump(game, op.a);
        return;
      case OpKind::GoToScene:
        GoToScene(game, op.a);
        return;
      case OpKind::GameOver:
        ResetStep(game);
        ReturnToTitle(game);
        RunFlow(game);
        return;
      case OpKind::Ending:
        FinishEnding(game, op.a);
        return;
      case OpKind::SelectEnding:
        GoToScene(game, SelectEndingScene(r.Params, s.EndingNo()));
        return;
      case OpKind::Branch:
        RunBranch(game, family, op);
        return;
    }
  }
}

void RunSceneStep(Game& game, const SceneScript& scene) {
  GameState& s = game.state;
  SaveRecord& r = s.SaveRecord;
  const int step = s.StepNo[kModeScene];
  // The step after a choice keeps the pick before anything reads it, in the
  // pick's own event. Run again later (to continue its text, or after a
  // loaded game resumes there) a menu has overwritten ChoiceNo meanwhile,
  // and LastChoice already holds the pick.
  const bool pickEvent = std::exchange(game.pickJustMade, false);
  if (pickEvent && s.PendingText.empty() && scene.LaneOfChoiceBefore(step, r.Condition))
    r.LastChoice = s.ChoiceNo;
  const Lane* lane = scene.ServingLane(step, r.Condition, r.LastChoice);
  if (!lane) return;
  const Step* current = lane->At(step);
  if (!current) return;
  RunOps(game, scene.family, current->ops);
  // Where play stands now (after any jump), the pictures that can come next.
  HintUpcomingPictures(game);
}

std::optional<Op> LastPictureOp(const SceneScript& scene, int step, int condition, int lastChoice) {
  for (int k = step; k >= 0; --k) {
    const Lane* lane = scene.ServingLane(k, condition, lastChoice);
    const Step* current = lane ? lane->At(k) : nullptr;
    if (!current) continue;
    for (auto op = current->ops.rbegin(); op != current->ops.rend(); ++op)
      if (op->kind == OpKind::Picture || op->kind == OpKind::Background) return *op;
  }
  return std::nullopt;
}

void InstallStoryContent(Game& game, std::shared_ptr<const Content> content) {
  auto story = std::make_shared<const Story>(ComposeStory(StoryStructure(), content ? *content : Content()));
  game.scenes = std::make_unique<StoryScenes>(std::move(story));
  game.content = std::move(content);
}

void StoryScenes::Run(Game& game, ProcedureLabel, int sceneNo) {
  if (const SceneScript* scene = story_->Find(sceneNo)) RunSceneStep(game, *scene);
}

}  // namespace pelmot
