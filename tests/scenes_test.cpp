// The story's structure and the scene interpreter: lanes, step numbers,
// choices, value changes in their order, successors, the ending selection;
// the game, the story map's walk and the pictures' look-ahead on one way.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "scenes/picture_lookahead.h"
#include "scenes/scene_model.h"
#include "scenes/story_structure.h"
#include "story_fixture.h"
#include "storymap/story_walk.h"

namespace pelmot {
namespace {

using testing::StoryGame;

const SceneScript& SceneOf(int number) {
  const SceneScript* scene = StoryStructure().Find(number);
  if (!scene) throw std::runtime_error("no scene " + std::to_string(number));
  return *scene;
}

const Lane& LaneOf(int number, const std::string& name) {
  for (const Lane& lane : SceneOf(number).lanes)
    if (lane.key.Name() == name) return lane;
  throw std::runtime_error("no lane " + name);
}

// Every operation of a step, branch ways included.
void CollectOps(const std::vector<Op>& ops, std::vector<const Op*>& out) {
  for (const Op& op : ops) {
    out.push_back(&op);
    for (const BranchCase& c : op.cases) CollectOps(c.ops, out);
  }
}

TEST(StoryStructure, HasTheNinetyFiveScenesWithTheirStepNumbers) {
  const std::vector<std::pair<int, int>> steps = {
      {0, 71},   {1, 8},    {2, 5},    {3, 40},   {4, 36},   {5, 51},   {10, 27},  {11, 36},  {12, 70},  {13, 35},
      {14, 37},  {15, 36},  {20, 19},  {21, 57},  {22, 73},  {23, 38},  {25, 25},  {30, 30},  {31, 65},  {32, 37},
      {33, 46},  {34, 53},  {35, 21},  {40, 32},  {41, 74},  {42, 42},  {43, 37},  {45, 26},  {50, 32},  {51, 35},
      {52, 35},  {53, 35},  {54, 25},  {55, 28},  {60, 35},  {61, 32},  {62, 64},  {63, 59},  {64, 17},  {65, 26},
      {66, 26},  {70, 33},  {71, 23},  {72, 52},  {73, 36},  {74, 39},  {75, 16},  {80, 36},  {81, 57},  {82, 62},
      {83, 35},  {84, 37},  {85, 20},  {90, 33},  {91, 60},  {92, 44},  {93, 52},  {94, 66},  {95, 13},  {100, 27},
      {101, 24}, {102, 37}, {103, 22}, {104, 37}, {105, 32}, {106, 25}, {107, 59}, {108, 25}, {110, 30}, {111, 35},
      {112, 73}, {113, 36}, {114, 70}, {115, 14}, {120, 11}, {121, 22}, {122, 20}, {123, 20}, {124, 28}, {125, 20},
      {130, 50}, {140, 19}, {141, 26}, {142, 44}, {150, 5},  {151, 33}, {152, 71}, {153, 79}, {154, 55}, {155, 39},
      {156, 38}, {157, 44}, {158, 36}, {159, 38}, {160, 96}};
  ASSERT_EQ(StoryStructure().Scenes().size(), 95u);
  for (auto [number, count] : steps) {
    const SceneScript& scene = SceneOf(number);
    EXPECT_EQ(scene.StepCount(), count) << "scene " << number;
    EXPECT_TRUE(SceneProcedure(number).has_value()) << "scene " << number;
    for (const Lane& lane : scene.lanes)
      if (lane.key.rule != LaneRule::ByPick || lane.key.pick == kAnyPick) {
        EXPECT_EQ(lane.first, 0) << "scene " << number << " lanes start at step 0";
      }
  }
}

TEST(StoryStructure, FamiliesFollowTheProcedureModules) {
  EXPECT_EQ(SceneOf(0).family, Family::Prologue);
  EXPECT_EQ(SceneOf(5).family, Family::Prologue);
  EXPECT_EQ(SceneOf(10).family, Family::Day);
  EXPECT_EQ(SceneOf(150).family, Family::Day);
  EXPECT_EQ(SceneOf(53).family, Family::Event);
  EXPECT_EQ(SceneOf(160).family, Family::Event);
}

TEST(StoryStructure, ChoiceStepsOfferTheirNumberOfOptions) {
  const std::vector<std::tuple<int, int, int>> choices = {
      {0, 69, 2},   {1, 6, 2},    {5, 41, 2},   {11, 29, 2},  {12, 31, 2}, {13, 26, 2},  {14, 19, 2},  {21, 13, 2},
      {22, 10, 2},  {23, 22, 2},  {31, 12, 2},  {32, 13, 2},  {33, 12, 2}, {34, 4, 2},   {40, 10, 2},  {41, 8, 2},
      {42, 26, 2},  {43, 14, 2},  {61, 25, 2},  {62, 6, 2},   {63, 12, 2}, {72, 13, 2},  {73, 29, 2},  {74, 6, 2},
      {80, 10, 2},  {81, 13, 2},  {82, 28, 2},  {90, 11, 2},  {91, 16, 2}, {92, 7, 2},   {93, 24, 2},  {94, 6, 2},
      {100, 25, 2}, {102, 19, 2}, {104, 13, 2}, {107, 12, 2}, {110, 8, 2}, {111, 26, 2}, {112, 10, 2}, {113, 29, 2},
      {114, 31, 2}, {120, 9, 2},  {140, 17, 2}};
  std::set<int> withChoice;
  for (auto [number, step, count] : choices) {
    withChoice.insert(number);
    for (const Lane& lane : SceneOf(number).lanes) {
      if (!lane.Has(step)) continue;
      ASSERT_TRUE(lane.At(step)->IsChoice()) << "scene " << number << " s" << step;
      for (const OptionSet& set : lane.At(step)->ops.front().optionSets) EXPECT_EQ(set.count, count);
    }
  }
  // The special ones: by Condition, and two choices in scene 10.
  const Op& scene10 = SceneOf(10).lanes[0].At(4)->ops.front();
  ASSERT_EQ(scene10.optionSets.size(), 2u);
  EXPECT_TRUE(scene10.optionSets[0].conditions.Holds(0));
  EXPECT_EQ(scene10.optionSets[0].count, 3);
  EXPECT_EQ(scene10.optionSets[1].count, 2);
  EXPECT_TRUE(SceneOf(10).lanes[0].At(24)->IsChoice());
  EXPECT_EQ(LaneOf(30, "C3").At(8)->ops.front().optionSets[0].count, 3);
  EXPECT_EQ(LaneOf(30, "C1").At(8)->ops.front().optionSets[0].count, 2);
  EXPECT_TRUE(LaneOf(20, "C7").At(4)->IsChoice());
  EXPECT_TRUE(LaneOf(20, "C6").At(4)->IsEmpty());
  EXPECT_TRUE(LaneOf(20, "C6").At(5)->IsChoice());
  EXPECT_TRUE(LaneOf(50, "C5").At(7)->IsChoice());
  EXPECT_TRUE(LaneOf(50, "C3").At(9)->IsChoice());
  EXPECT_TRUE(LaneOf(50, "C0").At(10)->IsChoice());
  EXPECT_TRUE(LaneOf(60, "C0").At(9)->IsChoice());
  EXPECT_TRUE(LaneOf(70, "C4").At(7)->IsChoice());
  EXPECT_TRUE(LaneOf(70, "C5").At(10)->IsChoice());
  // No other scene offers a choice.
  for (int number : {10, 20, 30, 50, 60, 70}) withChoice.insert(number);
  for (const SceneScript& scene : StoryStructure().Scenes())
    for (const Lane& lane : scene.lanes)
      for (const Step& step : lane.steps)
        if (step.IsChoice()) {
          EXPECT_TRUE(withChoice.count(scene.number)) << "scene " << scene.number;
        }
}

TEST(StoryStructure, EveryLaneEndsByHandingOnToASceneThatExists) {
  for (const SceneScript& scene : StoryStructure().Scenes()) {
    for (const Lane& lane : scene.lanes) {
      if (lane.key.rule == LaneRule::ByPick && lane.key.pick == kAnyPick) continue;  // ends with the choice
      const Step& last = *lane.At(lane.Last());
      ASSERT_FALSE(last.IsEmpty()) << "scene " << scene.number;
      EXPECT_TRUE(last.ops.back().HandsOn()) << "scene " << scene.number << " " << lane.key.Name();
      std::vector<const Op*> ops;
      for (const Step& step : lane.steps) CollectOps(step.ops, ops);
      for (const Op* op : ops)
        if (op->kind == OpKind::GoToScene) {
          EXPECT_TRUE(SceneProcedure(op->a).has_value()) << op->a;
        }
    }
  }
}

TEST(StoryStructure, PictureStepsShowPictureFive) {
  std::set<int> expected = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140};
  for (int ending = 151; ending <= 160; ++ending)
    if (ending != 158) expected.insert(ending);
  for (const SceneScript& scene : StoryStructure().Scenes()) {
    const Step& first = *scene.lanes.front().At(0);
    const bool pictureStep = first.ops.size() == 1 && first.ops[0].kind == OpKind::Picture;
    EXPECT_EQ(pictureStep, expected.count(scene.number) == 1) << "scene " << scene.number;
    if (pictureStep) {
      EXPECT_EQ(first.ops[0].a, 5);
    }
  }
}

TEST(StoryStructure, TheStepBeforeAChoiceStopsSkippingExceptInThreeLanes) {
  const std::set<std::pair<int, std::string>> runInto = {{20, "C6"}, {70, "C6"}, {80, "C3"}};
  int preChoiceSteps = 0;
  for (const SceneScript& scene : StoryStructure().Scenes()) {
    for (const Lane& lane : scene.lanes) {
      for (int s = lane.first + 1; s <= lane.Last(); ++s) {
        if (!lane.At(s)->IsChoice()) continue;
        const Step& before = *lane.At(s - 1);
        const bool stops = !before.IsEmpty() && before.ops.back().kind == OpKind::StopSkip;
        const bool exception = runInto.count({scene.number, lane.key.Name()}) == 1;
        EXPECT_EQ(stops, !exception) << "scene " << scene.number << " " << lane.key.Name() << " s" << s - 1;
        if (stops) ++preChoiceSteps;
      }
    }
  }
  EXPECT_EQ(preChoiceSteps, 61);
}

TEST(StoryStructure, EndingsCloseWithTheirLineAndNumber) {
  for (int number = 151; number <= 160; ++number) {
    const Lane& lane = SceneOf(number).lanes.front();
    const Step& line = *lane.At(lane.Last() - 1);
    ASSERT_EQ(SlotOf(line), StepSlot::FixedLine);
    EXPECT_EQ(line.ops.back().text, "＜終わり＞");
    const Op& last = lane.At(lane.Last())->ops.front();
    EXPECT_EQ(last.kind, OpKind::Ending);
    EXPECT_EQ(last.a, number - 150);
  }
  EXPECT_TRUE(SceneOf(157).lanes.front().At(15)->IsEmpty());
  EXPECT_TRUE(SceneOf(25).lanes.front().At(12)->IsEmpty());
  EXPECT_EQ(SceneOf(2).lanes.front().At(3)->ops.back().text, "ゲームオーバー");
  EXPECT_EQ(SceneOf(2).lanes.front().At(4)->ops.front().kind, OpKind::GameOver);
}

TEST(StoryStructure, SceneTenShowsPictureFiveLikeEveryChoiceScene) {
  const auto& pictures = SceneOf(10).pictures;
  EXPECT_EQ(std::set<int>(pictures.begin(), pictures.end()), (std::set<int>{5, 13, 17, 117, 120, 124, 126}));
  EXPECT_EQ(SceneOf(10).backgrounds, std::vector<int>{0});
}

struct EndingCase {
  std::array<std::int16_t, 4> params;
  int endingNo;
  int scene;
};

void PrintTo(const EndingCase& c, std::ostream* os) {
  *os << "P " << c.params[0] << " " << c.params[1] << " " << c.params[2] << " " << c.params[3] << ", EndingNo "
      << c.endingNo;
}

class EndingSelection : public ::testing::TestWithParam<EndingCase> {};

TEST_P(EndingSelection, PicksTheEndingScene) {
  const EndingCase& c = GetParam();
  EXPECT_EQ(SelectEndingScene(c.params, c.endingNo), c.scene);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EndingSelection,
    ::testing::Values(EndingCase{{79, 79, 79, 0}, 0, 151}, EndingCase{{79, 79, 79, 999}, 3, 151},
                      EndingCase{{0, 120, 120, 269}, 0, 152}, EndingCase{{120, 119, 200, 100}, 0, 153},
                      EndingCase{{80, 100, 100, 0}, 0, 155}, EndingCase{{80, 101, 100, 0}, 0, 154},
                      EndingCase{{120, 120, 120, 270}, 0, 159}, EndingCase{{120, 120, 120, 270}, 11, 160},
                      EndingCase{{120, 120, 120, 270}, 7, 160}, EndingCase{{200, 150, 150, 300}, 0, 156},
                      EndingCase{{200, 150, 150, 300}, 2, 160}, EndingCase{{100, 150, 200, 300}, 0, 158},
                      EndingCase{{130, 150, 200, 300}, 0, 159}, EndingCase{{100, 200, 150, 300}, 0, 157}));

TEST(SceneRunner, SceneHundredFiftyGoesToTheSelectedEndingInTheSameClick) {
  StoryGame t;
  t.StartScene(150, 0, 15);
  t.record().Params = {200, 150, 150, 300};
  t.state().StepNo[kModeScene] = 3;
  t.Click(400, 300);
  EXPECT_EQ(t.state().SceneNo, 156);
  EXPECT_EQ(t.state().StepNo[kModeScene], 0);
  t.StartScene(150, 0, 15);
  t.state().EndingNo() = 6;
  t.state().StepNo[kModeScene] = 3;
  t.Click(400, 300);
  EXPECT_EQ(t.state().SceneNo, 160);
}

TEST(SceneRunner, EmptyStepsAndStepsPastTheLaneDoNothing) {
  StoryGame t;
  GameState& s = t.state();
  t.StartScene(25, 0, 3);
  s.StepNo[kModeScene] = 11;
  s.LineNo = 77;
  t.Click(400, 300);  // step 12 is empty
  EXPECT_EQ(s.StepNo[kModeScene], 12);
  EXPECT_EQ(s.LineNo, 77);
  t.Click(400, 300);
  EXPECT_NE(s.LineNo, 77) << "step 13 shows its line";

  t.StartScene(150, 0, 15);
  s.StepNo[kModeScene] = 40;
  s.LineNo = 77;
  t.Click(400, 300);
  EXPECT_EQ(s.StepNo[kModeScene], 41);
  EXPECT_EQ(s.LineNo, 77);
  EXPECT_EQ(s.SceneNo, 150);
}

TEST(SceneRunner, ALaneRuleThatFindsNoLaneStopsTheScene) {
  StoryGame t;
  GameState& s = t.state();
  t.StartScene(20, 3, 3);  // scene 20 serves Condition 7, 6 and 0 only
  s.LineNo = 77;
  for (int i = 0; i < 10; ++i) t.Click(400, 300);
  EXPECT_EQ(s.SceneNo, 20);
  EXPECT_EQ(s.StepNo[kModeScene], 10);
  EXPECT_EQ(s.LineNo, 77);

  // A pick other than 0 or 1 finds no pick lane.
  t.StartScene(12, 0, 2);
  s.StepNo[kModeScene] = 40;
  s.LineNo = 77;
  t.record().LastChoice = 2;
  t.Click(400, 300);
  EXPECT_EQ(s.LineNo, 77);
  EXPECT_EQ(s.SceneNo, 12);
}

TEST(SceneRunner, ValueChangesRunInTheirOrderBecauseAddParamReadsCondition) {
  // Scene 130's last step: P0+20 with the old Condition 4 earns the bonus,
  // then Condition 0 and day 15 follow.
  StoryGame t;
  t.StartScene(130, 4, 14);
  t.state().StepNo[kModeScene] = 48;
  t.Click(400, 300);
  EXPECT_EQ(t.state().SceneNo, 140);
  EXPECT_EQ(t.record().Params[0], 30);
  EXPECT_EQ(t.record().Condition, 0);
  EXPECT_EQ(t.record().DayNo, 15);

  // Scene 11, pick 1: P2+20 under Condition 5 (bonus), Condition 6, then
  // P3 takes the day's amount.
  StoryGame u;
  u.StartScene(11, 5, 2);
  u.ClickUntilChoiceOrSceneChange();
  ASSERT_EQ(u.state().StepNo[kModeScene], 29);
  u.Pick(1);
  EXPECT_EQ(u.state().StepNo[kModeScene], 31) << "the update step advanced at once";
  EXPECT_EQ(u.record().Params, (std::array<std::int16_t, 4>{0, 0, 30, 37}));
  EXPECT_EQ(u.record().Condition, 6);
  EXPECT_EQ(u.record().LastChoice, 1);
}

// Scene 1 branches on the pick and Condition: pick 0 jumps to step 4, pick 1
// under Condition 3 to step 3, and any other state finds no case and goes
// on to step 2. Scene 2 offers a choice only under Condition 5, so
// elsewhere it shows nothing. Step n of scene k shows picture 10k + n and a
// line.
Story BranchingStory() {
  auto op = [](OpKind kind, int a = 0) {
    Op o;
    o.kind = kind;
    o.a = a;
    o.text = "words";
    return o;
  };
  auto shows = [&](int picture) { return Step{{op(OpKind::Picture, picture), op(OpKind::Line)}}; };
  Op branch = op(OpKind::Branch);
  branch.cases = {BranchCase{0, ConditionSet::Any(), {op(OpKind::Jump, 4)}},
                  BranchCase{1, ConditionSet::Of({3}), {op(OpKind::Jump, 3)}}};
  Op choice = op(OpKind::Choice);
  choice.optionSets.push_back(OptionSet{ConditionSet::Of({5}), 2, Options{"a", "b"}});
  SceneScript one;
  one.number = 1;
  one.lanes.push_back(
      Lane{{}, 0, {shows(10), Step{{branch}}, shows(12), shows(13), shows(14), Step{{op(OpKind::GoToScene, 2)}}}});
  SceneScript two;
  two.number = 2;
  two.lanes.push_back(Lane{{}, 0, {shows(20), Step{{choice}}, shows(22), Step{{op(OpKind::GameOver)}}}});
  Story story;
  story.Add(one);
  story.Add(two);
  return story;
}

// The pictures the game loads from step 0 of scene 1 to the title.
std::vector<int> PlayedPictures(const Story& story, int condition, int lastChoice) {
  StoryGame t;
  Scenes(t.game()).runner = std::make_unique<StoryScenes>(std::make_shared<const Story>(story));
  t.StartScene(1, condition);
  t.record().LastChoice = static_cast<std::int16_t>(lastChoice);
  std::vector<int> shown{t.game().mainWorkPicture};
  for (int clicks = 0; clicks < 20 && t.state().FlowMode == kModeScene; ++clicks) {
    t.Click(400, 300);
    if (t.state().FlowMode == kModeScene && t.game().mainWorkPicture != shown.back())
      shown.push_back(t.game().mainWorkPicture);
  }
  EXPECT_EQ(t.state().FlowMode, kModeTitle) << "the game over ends the play";
  return shown;
}

// The steps whose lines the story map's walk shows on the same way, named
// by their pictures.
std::vector<int> WalkedSteps(const Story& story, int condition, int lastChoice) {
  storymap::StoryWalker walker(story);
  storymap::WalkState s;
  s.scene = 1;
  s.condition = static_cast<std::int16_t>(condition);
  s.lastChoice = static_cast<std::int16_t>(lastChoice);
  EXPECT_EQ(walker.Run(s, nullptr).kind, storymap::WalkStop::Kind::Enter);
  EXPECT_EQ(walker.Run(s, nullptr).outcome, storymap::kGameOver);
  std::vector<int> steps;
  for (const auto& [scene, lane, step] : walker.shown().lines) steps.push_back(10 * scene + step);
  return steps;
}

TEST(SceneRunner, TheGameTheStoryMapAndTheLookAheadTakeTheSameWays) {
  const Story story = BranchingStory();
  struct Way {
    int condition;
    int lastChoice;
    std::vector<int> pictures;
  };
  for (const Way& way :
       {Way{0, 0, {10, 14, 20, 22}}, Way{3, 1, {10, 13, 14, 20, 22}}, Way{0, 1, {10, 12, 13, 14, 20, 22}}}) {
    SCOPED_TRACE("C" + std::to_string(way.condition) + " p" + std::to_string(way.lastChoice));
    EXPECT_EQ(PlayedPictures(story, way.condition, way.lastChoice), way.pictures);
    EXPECT_EQ(WalkedSteps(story, way.condition, way.lastChoice), way.pictures);
    const std::vector<int> ahead(way.pictures.begin() + 1, way.pictures.end());
    EXPECT_EQ(UpcomingPictures(story, *story.Find(1), 0, way.condition, way.lastChoice, 10), ahead);
  }
}

TEST(SceneRunner, EndingStoresItsNumberWritesTheSeenFlagsAndShowsTheTitle) {
  StoryGame t;
  t.StartScene(152, 0, 15);
  t.state().EndingNo() = 7;
  t.state().StepNo[kModeScene] = 69;
  t.Click(400, 300);
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_EQ(t.state().StepNo[0], 2);
  EXPECT_EQ(t.state().EndingNo(), 2) << "each ending overwrites EndingNo";
  ASSERT_TRUE(std::filesystem::exists(t.SeenFlagsPath()));
  EXPECT_EQ(std::filesystem::file_size(t.SeenFlagsPath()), 136u);
}

TEST(SceneRunner, GameOverReturnsToTheTitleWithoutAnEnding) {
  StoryGame t;
  t.StartScene(2, 0, 1);
  t.ClickUntilChoiceOrSceneChange();
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_EQ(t.state().StepNo[0], 2);
  EXPECT_EQ(t.state().EndingNo(), 0);
}

}  // namespace
}  // namespace pelmot
