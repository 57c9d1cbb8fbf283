// The dispatcher, scenes handing on, the title, and AddParam.
#include <gtest/gtest.h>

#include <filesystem>

#include "game_fixture.h"
#include "platform/common/picload.h"
#include "present/pictures.h"
#include "present/text_window.h"

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

INSTANTIATE_TEST_SUITE_P(Cases, AddParamTest,
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

// A step may run the next one, and the last step of a scene the next scene,
// in the same event. The next scene starts at its first step, skipping stops
// there, and its picture shows afresh though the last scene showed the same.
TEST(RunFlow, ASceneHandsOnToTheNextWithinOneTickOfSkipping) {
  TestGame t;
  GameState& s = t.state();
  const Colour picture = Rgb(1, 2, 3);
  std::filesystem::create_directories(t.game().PictureFolder());
  SavePng(std::vector<Colour>(kScreenPixels, picture), 800, 600, PicturePath(t.game().PictureFolder(), 7));
  std::vector<std::string> log;
  t.scenes().procedures[10] = [&](Game& g) {
    const int step = g.state.StepNo[kModeScene];
    log.push_back("10/" + std::to_string(step));
    if (step == 1) {  // nothing to show: the next step runs at once
      g.state.StepNo[kModeScene] = 2;
      RunFlow(g);
    } else if (step == 2) {  // a line over picture 7, then scene 11
      ShowEventPic(g, 7, PictureShow::WithNextText);
      ShowText2(g, "台詞");
      ResetStep(g);
      g.state.SceneNo = 11;
      RunFlow(g);
    }
  };
  t.scenes().procedures[11] = [&](Game& g) {
    log.push_back("11/" + std::to_string(g.state.StepNo[kModeScene]));
    ShowEventPic(g, 7, PictureShow::Now);
  };
  s.FlowMode = kModeScene;
  s.SceneNo = 10;
  t.Move(790, 500);
  t.Click(790, 500);  // the skip button
  t.Tick();
  t.Tick();
  EXPECT_EQ(log, (std::vector<std::string>{"10/1", "10/2", "11/0"}));
  EXPECT_FALSE(t.form().SkipTimer.enabled);
  EXPECT_TRUE(s.ClickAdvances);
  EXPECT_EQ(testing::CountColour(t.form().MainPic.ScreenPixels(), picture), static_cast<int>(kScreenPixels))
      << "picture 7 without the line";
}

// The first click closes the logo movie; the title picture fills the window
// the movie played in a corner of.
TEST(TitleFlow, TheFirstClickClosesTheLogoAndTheTitlePictureFillsTheWindow) {
  TestGame t;
  const Colour title = Rgb(9, 8, 7);
  std::filesystem::create_directories(t.game().PictureFolder());
  SavePng(std::vector<Colour>(kScreenPixels, title), 800, 600, PicturePath(t.game().PictureFolder(), 0));
  t.state().MoviePath = "/content/LOGO.avi";
  t.form().MainPic.left = 85;
  t.form().MainPic.top = 190;
  t.Click(5, 5);
  EXPECT_EQ(t.multimedia.commands, std::vector<std::string>{"close \"/content/LOGO.avi\""});
  testing::Pixels window(kScreenPixels);
  ComposeClientArea(t.game(), window);
  EXPECT_EQ(testing::CountColour(window, title), static_cast<int>(kScreenPixels));
  EXPECT_EQ(t.state().SaveRecord.DayNo, 1) << "a fresh game";
  EXPECT_EQ(t.state().CgSeen[0], 1);
}

// The title menu as drawn: a press on its top item starts the game with
// scene 0, a press below its last item does nothing.
TEST(TitleFlow, ThePressOnTheTopItemOfTheTitleMenuStartsSceneZero) {
  TestGame t;
  int sceneZeroSteps = 0;
  t.scenes().procedures[0] = [&](Game&) { ++sceneZeroSteps; };
  t.Click(5, 5);  // the title picture
  const testing::Pixels picture = t.form().MainPic.ScreenPixels();
  t.Click(5, 5);  // the title menu over it
  for (const char* item : {"ゲームスタート", "ゲームロード", "ＣＧモード", "ゲームを終了する"})
    EXPECT_TRUE(t.text.Drew(item)) << item;
  const ScreenRect items = testing::Compare(t.form().MainPic.ScreenPixels(), picture).bounds;
  ASSERT_GT(items.height, 3 * kRowPitch);
  t.Click(kScreenWidth / 2, items.Bottom() + kRowPitch);
  EXPECT_FALSE(t.state().ClickAdvances) << "the menu still waits";
  t.Click(kScreenWidth / 2, items.top + 1);
  EXPECT_EQ(t.state().FlowMode, kModeScene);
  EXPECT_EQ(t.state().SceneNo, 0);
  EXPECT_EQ(sceneZeroSteps, 1);
  EXPECT_FALSE(t.form().MainPic.enabled);
}

}  // namespace
}  // namespace pelmot
