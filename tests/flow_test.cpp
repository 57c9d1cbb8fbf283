// The dispatcher, ResetStep and AddParam, driven as the game drives them.
#include <gtest/gtest.h>

#include "game_fixture.h"

namespace pelmot {
namespace {

using testing::TestGame;

struct AddParamCase {
  int index;
  int amount;
  int condition;
  int day;
  int before;
  int after;
};

class AddParamTest : public ::testing::TestWithParam<AddParamCase> {};

TEST_P(AddParamTest, AppliesBonusTableAndClamp) {
  const AddParamCase c = GetParam();
  TestGame t;
  SaveRecord& r = t.state().SaveRecord;
  r.Condition = static_cast<std::int16_t>(c.condition);
  r.DayNo = static_cast<std::int16_t>(c.day);
  r.Params[c.index] = static_cast<std::int16_t>(c.before);
  std::int16_t amount = static_cast<std::int16_t>(c.amount);
  AddParam(t.game(), c.index, amount);
  EXPECT_EQ(r.Params[c.index], c.after);
  EXPECT_EQ(amount, c.amount) << "the caller's amount is not changed";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddParamTest,
    ::testing::Values(
        // Condition 4 favours parameter 0, condition 5 all others.
        AddParamCase{0, 5, 4, 1, 0, 15}, AddParamCase{2, 5, 5, 1, 0, 15},
        AddParamCase{0, 5, 5, 1, 0, 5}, AddParamCase{1, 5, 4, 1, 0, 5},
        // Parameter 3 takes the day's amount, and the bonus is lost.
        AddParamCase{3, 5, 0, 4, 0, 99}, AddParamCase{3, 5, 5, 5, 0, 0},
        AddParamCase{3, 20, 5, 2, 10, 47},
        // Outside days 1 ... 15 the amount and bonus stay.
        AddParamCase{3, 5, 5, 16, 0, 15}, AddParamCase{3, 5, 0, 0, 0, 5},
        // Negative amounts: no bonus, no table, clamped at 0.
        AddParamCase{1, -3, 5, 1, 10, 7}, AddParamCase{1, -3, 5, 1, 2, 0},
        AddParamCase{3, -40, 0, 4, 30, 0},
        // Clamped at 999.
        AddParamCase{0, 37, 0, 1, 990, 999}, AddParamCase{0, 80, 4, 1, 950, 999}));

TEST(ResetStep, ClearsItsFieldsAndOnlyTheCurrentModesStep) {
  TestGame t;
  GameState& s = t.state();
  s.FlowMode = kModeChoice;
  s.StepNo = {3, 7, 2, 4, 5, 9, 0, 0};
  s.SlideNo = 12;
  s.ShownPic = 17;
  s.ClickAdvances = true;
  t.form().SkipTimer.enabled = true;
  ResetStep(t.game());
  EXPECT_EQ(s.StepNo[5], 0);
  EXPECT_EQ(s.StepNo[1], 7);
  EXPECT_EQ(s.StepNo[0], 3);
  EXPECT_EQ(s.SlideNo, 0);
  EXPECT_EQ(s.ShownPic, kNoPicture);
  EXPECT_FALSE(s.ClickAdvances);
  EXPECT_FALSE(t.form().SkipTimer.enabled);
}

TEST(RunFlow, SceneModeSetsResumeModeAndCallsTheScene) {
  TestGame t;
  GameState& s = t.state();
  int calls = 0;
  t.scenes().procedures[12] = [&](Game&) { ++calls; };
  s.FlowMode = kModeScene;
  s.SceneNo = 12;
  s.ClickAdvances = false;
  RunFlow(t.game());
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(s.SaveRecord.ResumeMode, 1);
  EXPECT_TRUE(s.ClickAdvances);
}

TEST(RunFlow, ChoiceModeOnlySetsResumeMode) {
  TestGame t;
  t.state().FlowMode = kModeChoice;
  RunFlow(t.game());
  EXPECT_EQ(t.state().SaveRecord.ResumeMode, 5);
}

TEST(RunFlow, ASceneWithoutProcedureDoesNothingButTheStepRises) {
  TestGame t;
  GameState& s = t.state();
  bool called = false;
  t.scenes().procedures[24] = [&](Game&) { called = true; };  // 24 is not in the table
  s.FlowMode = kModeScene;
  s.SceneNo = 24;
  t.Click(400, 300);
  t.Click(400, 300);
  EXPECT_FALSE(called);
  EXPECT_EQ(s.StepNo[1], 2);
}

TEST(RunFlow, AnUnknownModeDoesNothing) {
  TestGame t;
  t.state().FlowMode = 9;
  t.Click(10, 10);
  EXPECT_TRUE(t.state().ClickAdvances);
}

TEST(RunFlow, NestedCallsRunTheNextStepAndTheNextSceneInTheSameEvent) {
  TestGame t;
  GameState& s = t.state();
  std::vector<std::string> log;
  t.scenes().procedures[10] = [&](Game& g) {
    log.push_back("10/" + std::to_string(g.state.StepNo[1]));
    if (g.state.StepNo[1] == 1) {  // advance: the next step runs at once
      g.state.StepNo[1] = 2;
      RunFlow(g);
    } else if (g.state.StepNo[1] == 2) {  // go to scene 11
      ResetStep(g);
      g.state.SceneNo = 11;
      RunFlow(g);
    }
  };
  t.scenes().procedures[11] = [&](Game& g) { log.push_back("11/" + std::to_string(g.state.StepNo[1])); };
  s.FlowMode = kModeScene;
  s.SceneNo = 10;
  t.Click(100, 100);
  EXPECT_EQ(log, (std::vector<std::string>{"10/1", "10/2", "11/0"}));
  EXPECT_EQ(s.SceneNo, 11);
  EXPECT_EQ(s.StepNo[1], 0);
  EXPECT_TRUE(s.ClickAdvances);
}

TEST(TitleFlow, FirstAdvanceClosesTheMovieAndShowsTheTitlePictureWithoutAStamp) {
  TestGame t;
  GameState& s = t.state();
  s.MoviePath = "/content/LOGO.avi";
  t.form().MainPic.left = 85;
  t.form().MainPic.top = 190;
  t.Click(5, 5);
  EXPECT_EQ(t.multimedia.commands, std::vector<std::string>{"close \"/content/LOGO.avi\""});
  EXPECT_EQ(s.MoviePath, "");
  EXPECT_EQ(t.form().MainPic.left, 0);
  EXPECT_EQ(t.form().MainPic.top, 0);
  EXPECT_EQ(s.StepNo[0], 2);
  EXPECT_EQ(s.ShownPic, 0);
  EXPECT_EQ(s.SaveRecord.DayNo, 1);
  EXPECT_EQ(s.CgSeen[0], 1);
}

TEST(TitleFlow, TitleMenuThenStartRunsSceneZero) {
  TestGame t;
  GameState& s = t.state();
  int sceneZeroSteps = 0;
  t.scenes().procedures[0] = [&](Game&) { ++sceneZeroSteps; };
  t.Click(5, 5);  // title picture
  t.Click(5, 5);  // title menu
  ASSERT_FALSE(s.ClickAdvances);
  EXPECT_EQ(s.MenuItems[0], "ゲームスタート");
  EXPECT_EQ(s.MenuItems[3], "ゲームを終了する");
  EXPECT_EQ(s.OptionCount, 3);
  // Four items: title row 3, items on rows 4 ... 7; "ゲームスタート" is 7 x 24 wide.
  EXPECT_EQ(s.LineNo, 8);
  t.Click(400, 12 + 32 * 4 + 16);
  EXPECT_EQ(s.FlowMode, kModeScene);
  EXPECT_EQ(s.SceneNo, 0);
  EXPECT_EQ(sceneZeroSteps, 1);
  EXPECT_FALSE(t.form().MainPic.enabled);
}

}  // namespace
}  // namespace pelmot
