#include "scenes/picture_lookahead.h"

#include <algorithm>

#include "game/game.h"
#include "game/run_flow.h"
#include "present/pictures.h"
#include "scenes/op_walk.h"
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
  struct Ahead {
    int picture;
    int distance;  // pictures shown before it on its way
  };
  std::vector<Ahead> pictures;
};

// Where one way of the story stands.
struct Cursor {
  const SceneScript* scene;
  int step;
  int condition;
  int lastChoice;
  int found = 0;
};

void FollowWay(Walk& walk, Cursor at);

void Found(Walk& walk, Cursor& at, int picture) {
  const int distance = at.found++;
  auto known = std::find_if(walk.pictures.begin(), walk.pictures.end(),
                            [&](const Walk::Ahead& a) { return a.picture == picture; });
  if (known == walk.pictures.end())
    walk.pictures.push_back({picture, distance});
  else
    known->distance = std::min(known->distance, distance);
}

// The pictures the operations show; the rest changes no picture but the
// Condition, which selects lanes, cases and the backgrounds.
class LookAheadEffects {
 public:
  LookAheadEffects(Walk& walk, Cursor& at) : walk_(walk), at_(at) {}
  int Condition() const { return at_.condition; }
  int LastChoice() const { return at_.lastChoice; }
  void Picture(const Op& op) {
    if (IsScenePicture(op.a)) Found(walk_, at_, op.a);
  }
  void Background(const Op& op) { Found(walk_, at_, BackgroundPicture(op.a, at_.condition)); }
  void Line(const Op&) {}
  void StopSkip(const Op&) {}
  void AddParam(const Op&) {}
  void SetCondition(const Op& op) { at_.condition = op.a; }
  void SetDay(const Op&) {}

 private:
  Walk& walk_;
  Cursor& at_;
};

int PickCount(const OptionSet& options) {
  const auto given =
      std::count_if(options.options.begin(), options.options.end(), [](const auto& o) { return !o.empty(); });
  return std::clamp(static_cast<int>(given), 1, kMaxPicks);
}

// Each pick of a choice is a way of its own, from the step after it.
void FollowPicks(Walk& walk, const Cursor& at, const OptionSet& options) {
  for (int pick = 0; pick < PickCount(options); ++pick) {
    Cursor way = at;
    way.step = at.step + 1;
    way.lastChoice = pick;
    FollowWay(walk, way);
  }
}

void FollowWay(Walk& walk, Cursor at) {
  while (at.found < walk.perWay && walk.stepsLeft-- > 0) {
    const Step* step = StepToRun(*at.scene, at.step, at.condition, at.lastChoice).step;
    if (!step) return;
    LookAheadEffects effects(walk, at);
    const StepExit exit = WalkOps(step->ops, at.step, effects);
    switch (exit.kind) {
      case StepExit::Kind::Waits: ++at.step; break;
      case StepExit::Kind::Choice: FollowPicks(walk, at, *exit.options); return;
      case StepExit::Kind::ToStep: at.step = exit.target; break;
      case StepExit::Kind::ToScene:
        at.scene = walk.story.Find(exit.target);
        at.step = 0;
        if (!at.scene) return;
        break;
      case StepExit::Kind::SelectEnding:  // the parameters are not followed
      case StepExit::Kind::GameOver:
      case StepExit::Kind::Ending: return;
    }
  }
}

}  // namespace

std::vector<int> UpcomingPictures(const Story& story, const SceneScript& scene, int step, int condition, int lastChoice,
                                  int perWay, std::size_t most) {
  Walk walk{story, perWay, kMaxStepsLooked, {}};
  Cursor at{&scene, step, condition, lastChoice};
  const Step* current = StepToRun(scene, step, condition, lastChoice).step;
  const OptionSet* shown = current && current->IsChoice() ? OptionsFor(current->ops.front(), condition) : nullptr;
  // A choice on screen: its picks are the ways on.
  if (shown)
    FollowPicks(walk, at, *shown);
  else {
    ++at.step;
    FollowWay(walk, at);
  }
  std::stable_sort(walk.pictures.begin(), walk.pictures.end(),
                   [](const Walk::Ahead& a, const Walk::Ahead& b) { return a.distance < b.distance; });
  std::vector<int> nearestFirst;
  for (const Walk::Ahead& a : walk.pictures)
    if (nearestFirst.size() < most) nearestFirst.push_back(a.picture);
  return nearestFirst;
}

void HintUpcomingPictures(Game& game) {
  const Story* story = PlayedStory(game);
  const GameState& s = game.state;
  const SceneScript* scene = story ? story->Find(s.SceneNo) : nullptr;
  if (!scene) return;
  const SaveRecord& r = s.SaveRecord;
  game.services.pictures.NewHints();
  for (int picture :
       UpcomingPictures(*story, *scene, s.StepNo[kModeScene], r.Condition, r.LastChoice, kPicturesAhead, kPicturesHinted))
    game.services.pictures.Prefetch(picture, game.PictureFolder());
}

}  // namespace pelmot
