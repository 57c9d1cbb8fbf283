#include "scenes/picture_lookahead.h"

#include <algorithm>

#include "game/game.h"
#include "game/run_flow.h"
#include "present/pictures.h"
#include "scenes/scene_table.h"

namespace pelmot {
namespace {

// Steps looked at in all: a bound on the work, whatever the story holds.
constexpr int kMaxStepsLooked = 256;
// A pick beyond the options any choice has.
constexpr int kMaxPicks = 5;

struct Walk {
  const Story& story;
  int perWay;
  int stepsLeft = kMaxStepsLooked;
  std::vector<int> pictures;
};

// Where one way of the story stands.
struct Cursor {
  const SceneScript* scene;
  int step;
  int condition;
  int lastChoice;
  int found = 0;
};

enum class Then { kNextStep, kGoTo, kStop };

void FollowWay(Walk& walk, Cursor at);

void Found(Walk& walk, Cursor& at, int picture) {
  ++at.found;
  if (std::find(walk.pictures.begin(), walk.pictures.end(), picture) == walk.pictures.end())
    walk.pictures.push_back(picture);
}

int PickCount(const Op& choice, int condition) {
  for (const OptionSet& set : choice.optionSets) {
    if (!set.conditions.Holds(condition)) continue;
    const auto given = std::count_if(set.options.begin(), set.options.end(), [](const auto& o) { return !o.empty(); });
    return std::clamp(static_cast<int>(given), 1, kMaxPicks);
  }
  return 0;
}

// Each pick of a choice is a way of its own, from the step after it.
void FollowPicks(Walk& walk, const Cursor& at, const Op& choice) {
  for (int pick = 0; pick < PickCount(choice, at.condition); ++pick) {
    Cursor way = at;
    way.step = at.step + 1;
    way.lastChoice = pick;
    FollowWay(walk, way);
  }
}

Then FollowOps(Walk& walk, Cursor& at, const std::vector<Op>& ops) {
  for (const Op& op : ops) {
    switch (op.kind) {
      case OpKind::Picture:
        if (IsScenePicture(op.a)) Found(walk, at, op.a);
        break;
      case OpKind::Background:
        Found(walk, at, BackgroundPicture(op.a, at.condition));
        break;
      case OpKind::SetCondition:
        at.condition = op.a;
        break;
      case OpKind::Choice:
        FollowPicks(walk, at, op);
        return Then::kStop;
      case OpKind::Jump:
        at.step = op.a;
        return Then::kGoTo;
      case OpKind::GoToScene:
        at.scene = walk.story.Find(op.a);
        at.step = 0;
        return at.scene ? Then::kGoTo : Then::kStop;
      case OpKind::Branch:
        for (const BranchCase& c : op.cases)
          if (c.Holds(at.lastChoice, at.condition)) return FollowOps(walk, at, c.ops);
        return Then::kStop;
      case OpKind::GameOver:
      case OpKind::Ending:
      case OpKind::SelectEnding:
        return Then::kStop;
      default:
        break;
    }
  }
  return Then::kNextStep;
}

void FollowWay(Walk& walk, Cursor at) {
  while (at.found < walk.perWay && walk.stepsLeft-- > 0) {
    const Lane* lane = at.scene->ServingLane(at.step, at.condition, at.lastChoice);
    const Step* step = lane ? lane->At(at.step) : nullptr;
    if (!step) return;
    const Then then = FollowOps(walk, at, step->ops);
    if (then == Then::kStop) return;
    if (then == Then::kNextStep) ++at.step;
  }
}

}  // namespace

std::vector<int> UpcomingPictures(const Story& story, const SceneScript& scene, int step, int condition,
                                  int lastChoice, int perWay) {
  Walk walk{story, perWay, kMaxStepsLooked, {}};
  Cursor at{&scene, step, condition, lastChoice};
  const Lane* lane = scene.ServingLane(step, condition, lastChoice);
  const Step* current = lane ? lane->At(step) : nullptr;
  // A choice on screen: its picks are the ways on.
  if (current && current->IsChoice()) FollowPicks(walk, at, current->ops.front());
  else {
    ++at.step;
    FollowWay(walk, at);
  }
  return walk.pictures;
}

void HintUpcomingPictures(Game& game) {
  const Story* story = game.scenes ? game.scenes->Script() : nullptr;
  const GameState& s = game.state;
  const SceneScript* scene = story ? story->Find(s.SceneNo) : nullptr;
  if (!scene) return;
  const SaveRecord& r = s.SaveRecord;
  for (int picture : UpcomingPictures(*story, *scene, s.StepNo[kModeScene], r.Condition, r.LastChoice))
    game.services.pictures.Prefetch(picture, game.PictureFolder());
}

}  // namespace pelmot
