// Scenes played through the handlers: the special choices of scenes 10 and
// 20, picks that survive a changed ChoiceNo, skipping, and every way through
// the story explored with the skip button.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <vector>

#include "story_fixture.h"

namespace pelmot {
namespace {

using testing::StoryGame;

TEST(SceneTen, ConditionZeroOffersAThirdOptionThatRunsOnToASecondChoice) {
  for (int second : {0, 1}) {
    StoryGame t;
    t.StartScene(10, 0, 2);
    t.ClickUntilChoiceOrSceneChange();
    ASSERT_TRUE(t.WaitsForPick());
    EXPECT_EQ(t.state().FlowMode, kModeChoice) << "day scenes choose in the message window";
    EXPECT_EQ(t.state().StepNo[kModeScene], 4);
    EXPECT_EQ(t.state().OptionCount, 2) << "three options";
    t.Pick(2);
    EXPECT_EQ(t.state().FlowMode, kModeScene);
    EXPECT_EQ(t.state().SceneNo, 10);
    EXPECT_EQ(t.state().StepNo[kModeScene], 6) << "step 6 runs in the same click";
    EXPECT_EQ(t.record().LastChoice, 2);
    t.ClickUntilChoiceOrSceneChange();
    ASSERT_TRUE(t.WaitsForPick());
    EXPECT_EQ(t.state().StepNo[kModeScene], 24);
    EXPECT_EQ(t.state().OptionCount, 1);
    t.Pick(second);
    EXPECT_EQ(t.state().SceneNo, 15) << "step 25 jumps to 26, which goes to scene 15";
    EXPECT_EQ(t.state().StepNo[kModeScene], 0);
    EXPECT_EQ(t.record().Condition, second == 0 ? 0 : 6);
  }
}

TEST(SceneTen, ConditionOneOffersTwoOptionsLeadingToThirteenAndFourteen) {
  for (int pick : {0, 1}) {
    StoryGame t;
    t.StartScene(10, 1, 2);
    t.ClickUntilChoiceOrSceneChange();
    ASSERT_TRUE(t.WaitsForPick());
    EXPECT_EQ(t.state().OptionCount, 1) << "two options";
    EXPECT_NE(t.state().MenuItems[0], t.state().MenuItems[1]);
    t.Pick(pick);
    EXPECT_EQ(t.state().SceneNo, pick == 0 ? 13 : 14);
  }
}

TEST(SceneTwenty, ConditionSixWaitsOneEmptyStepBeforeItsChoice) {
  StoryGame t;
  t.StartScene(20, 6, 3);
  GameState& s = t.state();
  while (s.StepNo[kModeScene] < 3 || !s.PendingText.empty()) t.Click(400, 300);
  const auto screen = t.form().MainPic.ScreenPixels();
  const auto lineNo = s.LineNo;
  t.Click(400, 300);
  EXPECT_EQ(s.StepNo[kModeScene], 4);
  EXPECT_FALSE(t.WaitsForPick());
  EXPECT_EQ(s.LineNo, lineNo);
  EXPECT_TRUE(t.form().MainPic.ScreenPixels() == screen) << "the empty step changes nothing on screen";
  t.Click(400, 300);
  EXPECT_TRUE(t.WaitsForPick());
  EXPECT_EQ(s.StepNo[kModeScene], 5);
  t.Pick(1);
  EXPECT_EQ(s.SceneNo, 23);
}

TEST(PickLanes, ThePickLaneSurvivesAChangeOfChoiceNo) {
  StoryGame t;
  t.StartScene(14, 0, 2);
  t.ClickUntilChoiceOrSceneChange();
  t.Pick(1);
  EXPECT_EQ(t.state().StepNo[kModeScene], 21) << "the update step advanced at once";
  EXPECT_EQ(t.record().Params[0], 20);
  t.state().ChoiceNo = 0;  // as any menu in between leaves it
  while (t.state().StepNo[kModeScene] < 25) t.Click(400, 300);
  EXPECT_EQ(t.state().SceneNo, 14) << "pick 1's lane runs to step 30; pick 0's ended at 25";
  t.ClickUntilChoiceOrSceneChange();
  EXPECT_EQ(t.state().SceneNo, 15);
}

TEST(PickLanes, ScenesFortyAndNinetyDecideTwentyLinesAfterThePick) {
  struct Case {
    int scene, condition, pick, expected;
  };
  for (Case c : {Case{40, 2, 0, 42}, Case{40, 6, 1, 42}, Case{90, 3, 1, 93}, Case{90, 2, 0, 94}}) {
    StoryGame t;
    t.StartScene(c.scene, c.condition, 5);
    t.ClickUntilChoiceOrSceneChange();
    const int choiceStep = t.state().StepNo[kModeScene];
    t.Pick(c.pick);
    EXPECT_EQ(t.state().SceneNo, c.scene);
    EXPECT_EQ(t.state().StepNo[kModeScene], choiceStep + 1) << "the next line shows at once";
    t.state().ChoiceNo = static_cast<std::int16_t>(1 - c.pick);
    t.ClickUntilChoiceOrSceneChange();
    EXPECT_EQ(t.state().SceneNo, c.expected) << "scene " << c.scene;
  }
}

TEST(PickLanes, ALineContinuedAfterAMenuKeepsThePick) {
  StoryGame t;
  t.StartScene(40, 2, 5);
  t.ClickUntilChoiceOrSceneChange();
  t.Pick(0);
  ASSERT_EQ(t.record().LastChoice, 0);
  // The line after the pick did not fit; a menu came and went meanwhile.
  t.state().PendingText = "続き";
  t.state().ChoiceNo = 1;
  t.Click(400, 300);
  EXPECT_EQ(t.state().StepNo[kModeScene], 11) << "the same step continues its text";
  EXPECT_EQ(t.record().LastChoice, 0);
  t.state().PendingText.clear();
  t.ClickUntilChoiceOrSceneChange();
  EXPECT_EQ(t.state().SceneNo, 42);
}

TEST(Skipping, TheSkipButtonRunsToTheNextSceneAndStopsThere) {
  StoryGame t;
  t.StartScene(3, 0, 1);
  t.PressSkipButton();
  ASSERT_TRUE(t.form().SkipTimer.enabled);
  t.TickWhileSkipping();
  EXPECT_EQ(t.state().SceneNo, 4);
  EXPECT_EQ(t.state().StepNo[kModeScene], 0);
  t.Tick();
  EXPECT_EQ(t.state().StepNo[kModeScene], 0) << "no key repeat restarts the timer";
}

// Every way through the story: each scene entered with each Condition it is
// reached with, each option of each choice, all driven by the skip button.
class StoryExplorer {
 public:
  struct Outcome {
    int next = -1;  // scene, or -1 back at the title
    int condition = 0;
    int ending = 0;
  };

  // From a new game, and from each ending scene the parameters select.
  void Run() {
    for (int start : {0, 151, 152, 153, 154, 155, 156, 157, 158, 159, 160}) {
      queue_.push_back({start, 0});
      seen_.insert({start, 0});
    }
    while (!queue_.empty()) {
      auto [scene, condition] = queue_.front();
      queue_.pop_front();
      Explore(scene, condition, {});
    }
  }

  std::map<int, std::set<int>> conditionsOf;  // scene to Conditions it was entered with
  std::set<int> endings;
  bool gameOver = false;

 private:
  // Plays the scene from `step` (0, or a choice step whose option `pick`
  // is then taken) until it hands on; at a further choice, explores each
  // option from there.
  void Explore(int scene, int condition, int step = 0, int pick = -1) {
    StoryGame& t = game_;
    conditionsOf[scene].insert(condition);
    t.StartScene(scene, condition, 2);
    if (step > 0) {
      t.state().StepNo[kModeScene] = static_cast<std::int16_t>(step);
      RunFlow(t.game());
      EXPECT_TRUE(t.WaitsForPick()) << "scene " << scene << " s" << step;
      t.Pick(pick);
    }
    while (t.state().SceneNo == scene && t.state().FlowMode != kModeTitle) {
      if (t.WaitsForPick()) {
        const int choice = t.state().StepNo[kModeScene];
        for (int option = 0; option <= t.state().OptionCount; ++option) Explore(scene, condition, choice, option);
        return;
      }
      if (!t.form().SkipTimer.enabled) t.PressSkipButton();
      t.TickWhileSkipping();
      ExpectSkippingStoppedRightly(t, scene);
    }
    Record(t);
  }

  // Skipping stops on a pre-choice line, at a choice, or at a scene change.
  static void ExpectSkippingStoppedRightly(StoryGame& t, int scene) {
    const GameState& s = t.state();
    if (t.WaitsForPick() || s.SceneNo != scene || s.FlowMode == kModeTitle) {
      if (s.SceneNo != scene && s.FlowMode != kModeTitle) {
        EXPECT_EQ(s.StepNo[kModeScene], 0);
      }
      return;
    }
    const SceneScript* script = StoryStructure().Find(scene);
    const Lane* lane = script->ServingLane(s.StepNo[kModeScene], s.SaveRecord.Condition, s.SaveRecord.LastChoice);
    ASSERT_NE(lane, nullptr);
    const Step* step = lane->At(s.StepNo[kModeScene]);
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->ops.back().kind, OpKind::StopSkip)
        << "skipping stopped in scene " << scene << " at step " << s.StepNo[kModeScene];
    // An empty step may stand between the question and its choice.
    int after = s.StepNo[kModeScene] + 1;
    while (lane->At(after) && lane->At(after)->IsEmpty()) ++after;
    const Step* next = lane->At(after);
    EXPECT_TRUE(next && next->IsChoice()) << "a pre-choice line precedes its choice";
  }

  void Record(StoryGame& t) {
    if (t.state().FlowMode == kModeTitle) {
      const int ending = t.state().EndingNo();
      if (ending == 0)
        gameOver = true;
      else
        endings.insert(150 + ending);
      return;
    }
    const std::pair<int, int> next{t.state().SceneNo, t.record().Condition};
    if (seen_.insert(next).second) queue_.push_back(next);
  }

  StoryGame game_;  // started afresh for every run
  std::deque<std::pair<int, int>> queue_;
  std::set<std::pair<int, int>> seen_;
};

TEST(StoryExploration, EveryChoiceSceneIsReachedExactlyWithTheConditionsItServes) {
  StoryExplorer explorer;
  explorer.Run();
  for (const SceneScript& scene : StoryStructure().Scenes()) {
    EXPECT_TRUE(explorer.conditionsOf.count(scene.number)) << "scene " << scene.number << " is never entered";
    if (scene.receives.empty()) continue;
    const std::set<int> served(scene.receives.begin(), scene.receives.end());
    EXPECT_EQ(explorer.conditionsOf[scene.number], served) << "scene " << scene.number;
  }
  std::set<int> endings;
  for (int e = 151; e <= 160; ++e) endings.insert(e);
  EXPECT_EQ(explorer.endings, endings);
  EXPECT_TRUE(explorer.gameOver);
}

}  // namespace
}  // namespace pelmot

namespace pelmot {
namespace {

TEST(SceneTwenty, SkippingStopsOnTheQuestionBeforeTheEmptyStep) {
  testing::StoryGame t;
  t.StartScene(20, 6, 3);
  SkipB_MouseDown(t.game(), kLeftButton, 0, 5, 5);
  for (int i = 0; i < 100 && t.form().SkipTimer.enabled; ++i) t.Tick();
  EXPECT_EQ(t.state().StepNo[kModeScene], 3);
  EXPECT_FALSE(t.WaitsForPick());
}

}  // namespace
}  // namespace pelmot

namespace pelmot {
namespace {

// Scene 40 decides twenty lines after its choice. A game saved on the first
// of those lines and loaded again must still follow the pick, although the
// menu picks in between have set ChoiceNo to 0.
TEST(SceneForty, AGameSavedRightAfterThePickKeepsItsBranchWhenLoaded) {
  testing::StoryGame t;
  t.StartScene(40, 6, 5);
  t.ClickUntilChoiceOrSceneChange();
  ASSERT_TRUE(t.WaitsForPick());
  t.Pick(1);
  ASSERT_EQ(t.state().StepNo[kModeScene], 11);
  auto openMenu = [&] {
    t.RightClick(400, 300);
    t.RightClick(400, 300);
  };
  openMenu();
  t.Pick(0);  // セーブ
  t.Pick(0);  // データ１
  t.Pick(0);  // はい
  ASSERT_FALSE(t.state().SaveDate[0].empty());
  openMenu();
  t.Pick(1);  // ロード
  t.Pick(0);
  t.Pick(0);
  EXPECT_EQ(t.state().StepNo[kModeScene], 11);
  EXPECT_EQ(t.record().LastChoice, 1);
  t.ClickUntilChoiceOrSceneChange();
  EXPECT_EQ(t.state().SceneNo, 42) << "pick 1 with Condition 6 leads to scene 42";
}

}  // namespace
}  // namespace pelmot
