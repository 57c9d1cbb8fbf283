// Clicks, keys, the skip button and the timer, as a player gives them.
#include <gtest/gtest.h>

#include "flow/pick.h"
#include "game_fixture.h"
#include "present/choices.h"

namespace pelmot {
namespace {

using testing::TestGame;

// A scene of plain steps with a page choice at step 3 and a window choice
// (FlowMode 5) at step 6; the step after each keeps the pick.
class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.scenes().procedures[30] = [this](Game& g) {
      const int step = g.state.StepNo[1];
      stepsRun.push_back(step);
      if (step == 3 || step == 6) g.state.LineNo = questionRows;  // the question's rows
      if (step == 3) ShowChoice2(g, {"はい", "いいえ", "", "", ""});
      if (step == 6) ShowChoice(g, {"ＡＢＣＤ", "ＡＢ", "", "", ""});
      if (step == 4 || step == 7) g.state.SaveRecord.LastChoice = g.state.ChoiceNo;
    };
    s().FlowMode = kModeScene;
    s().SceneNo = 30;
  }
  GameState& s() { return t.state(); }
  void HoldShiftAndTick(int ticks) {
    t.KeyDown(kKeyShift);
    for (int i = 0; i < ticks; ++i) {
      t.KeyDown(kKeyShift);  // a held key repeats its key-down
      t.Tick();
    }
  }

  TestGame t;
  std::vector<int> stepsRun;
  int questionRows = 1;
};

TEST_F(InputTest, ClickAndEnterAdvanceOneStepEach) {
  t.Click(400, 300);
  t.KeyDown(kKeyEnter);
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 2}));
}

TEST_F(InputTest, PendingTextHoldsTheStep) {
  t.Click(400, 300);
  s().PendingText = "the rest of a long line";
  t.Click(400, 300);
  t.KeyDown(kKeyEnter);
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 1, 1}));
  s().PendingText.clear();
  t.Click(400, 300);
  EXPECT_EQ(stepsRun.back(), 2);
}

TEST_F(InputTest, HoldingShiftSkipsUntilTheChoiceThenWaits) {
  HoldShiftAndTick(10);
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(t.form().SkipTimer.enabled);
  EXPECT_FALSE(s().ClickAdvances);
  // Releasing and pressing Shift again does nothing while the choice waits.
  t.KeyUp(kKeyShift);
  t.KeyDown(kKeyShift);
  EXPECT_FALSE(t.form().SkipTimer.enabled);
}

TEST_F(InputTest, ReleasingShiftStopsSkipping) {
  HoldShiftAndTick(1);
  t.KeyUp(kKeyShift);
  t.Tick();
  EXPECT_EQ(stepsRun, (std::vector<int>{1}));
}

TEST_F(InputTest, EnterIsIgnoredWhileSkipping) {
  t.KeyDown(kKeyShift);
  t.KeyDown(kKeyEnter);
  EXPECT_TRUE(stepsRun.empty());
}

TEST_F(InputTest, AClickWhileSkippingStopsItAndAdvancesOnce) {
  HoldShiftAndTick(1);
  t.Click(400, 300);
  EXPECT_FALSE(t.form().SkipTimer.enabled);
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 2}));
}

TEST_F(InputTest, TheSkipButtonSkipsWithoutShift) {
  t.Move(790, 500);
  ASSERT_TRUE(t.form().SkipB.visible);
  t.Click(790, 500);
  EXPECT_FALSE(t.form().SkipB.visible);
  EXPECT_TRUE(t.form().SkipTimer.enabled);
  for (int i = 0; i < 5; ++i) t.Tick();
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 2, 3}));
  // While skipping the button stays hidden.
  t.Move(790, 500);
  EXPECT_FALSE(t.form().SkipB.visible);
}

TEST_F(InputTest, TheSkipButtonShowsOnlyInItsStripDuringScenePlay) {
  t.Move(781, 411);
  EXPECT_TRUE(t.form().SkipB.visible);
  t.Move(700, 411);
  EXPECT_FALSE(t.form().SkipB.visible);
  t.Move(781, 590);
  EXPECT_FALSE(t.form().SkipB.visible);
  s().FlowMode = kModeTitle;
  t.Move(790, 500);
  EXPECT_FALSE(t.form().SkipB.visible);
}

TEST_F(InputTest, RightClickShowsThePictureAndALeftClickRestoresThePage) {
  testing::Fill(t.form().MainWork, Rgb(10, 20, 30));
  testing::Fill(t.form().Msg, Rgb(1, 2, 3));
  t.Click(400, 300);
  t.RightClick(400, 300);
  EXPECT_EQ(s().FlowMode, kModeSystemMenu);
  EXPECT_EQ(t.form().MainPic.ScreenPixel(5, 5), Rgb(10, 20, 30));
  t.Click(400, 300);
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_EQ(t.form().MainPic.ScreenPixel(5, 5), Rgb(1, 2, 3));
  EXPECT_EQ(stepsRun, (std::vector<int>{1})) << "leaving the view does not advance";
  t.Click(400, 300);
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 2}));
}

TEST_F(InputTest, ASecondRightClickOpensTheSystemMenu) {
  t.Click(400, 300);
  t.RightClick(400, 300);
  t.RightClick(400, 300);
  EXPECT_EQ(s().FlowMode, kModeSystemMenu);
  EXPECT_FALSE(s().ClickAdvances);
  EXPECT_TRUE(t.form().MainPic.enabled);
  EXPECT_EQ(s().MenuItems[0], "セーブ");
}

// A menu pick left over from before (ChoiceNo 0 is "セーブ") must not be
// taken again by a key pressed while only the picture shows.
TEST_F(InputTest, KeysInThePictureOnlyViewPickNoMenuItem) {
  testing::Fill(t.form().Msg, Rgb(1, 2, 3));
  t.Click(400, 300);
  s().ChoiceNo = 0;
  t.RightClick(400, 300);
  t.KeyDown(kKeyEnter);
  EXPECT_EQ(s().FlowMode, kModeScene) << "Enter leaves the view as a left click does";
  EXPECT_TRUE(s().MenuItems[0].empty()) << "no file-select screen";
  EXPECT_EQ(t.form().MainPic.ScreenPixel(5, 5), Rgb(1, 2, 3));
  EXPECT_EQ(stepsRun, (std::vector<int>{1}));

  t.RightClick(400, 300);
  HoldShiftAndTick(5);
  t.KeyUp(kKeyShift);
  EXPECT_EQ(s().FlowMode, kModeSystemMenu);
  EXPECT_TRUE(s().ClickAdvances) << "still the picture-only view";
  EXPECT_EQ(s().StepNo[2], 0);
  EXPECT_TRUE(s().MenuItems[0].empty());
  t.Click(400, 300);
  t.Click(400, 300);
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 2}));
}

// Page choice after step 3: two rows under a question on row 0, so the
// options sit on rows 1 and 2 (y 32 ... 95). "はい" is 48 px wide.
TEST_F(InputTest, PageChoiceHitTestingAtItsBoundaries) {
  for (int i = 0; i < 3; ++i) t.Click(400, 300);
  ASSERT_EQ(s().LineNo, 3);
  ASSERT_EQ(s().OptionCount, 1);
  t.Click(16, 40);  // x must exceed 16
  t.Click(72, 40);  // and stay below width + 24
  t.Click(50, 97);  // below the last row
  t.Click(50, 31);  // the question's row
  EXPECT_EQ(stepsRun.size(), 3u);
  EXPECT_EQ(s().FlowMode, kModeScene);
  t.Click(95, 95);  // last pixel row of option 1, "いいえ" is 72 px
  EXPECT_EQ(stepsRun.back(), 4);
  EXPECT_EQ(s().SaveRecord.LastChoice, 1);
}

TEST_F(InputTest, WindowChoiceHitTestingAtItsBoundaries) {
  s().StepNo[1] = 5;
  t.Click(400, 300);
  ASSERT_EQ(s().FlowMode, kModeChoice);
  // Options on rows 1 and 2: the band is 416 + 32 = 448 < y < 590.
  // "ＡＢＣＤ" is 96 px: 16 < x < 120.
  t.Click(119, 448);  // on the band's edge
  t.Click(120, 470);
  t.Click(16, 470);
  EXPECT_EQ(s().FlowMode, kModeChoice);
  t.Click(119, 449);
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_EQ(s().SaveRecord.LastChoice, 0);
  EXPECT_EQ(s().StepNo[kModeChoice], 0);
  EXPECT_EQ(stepsRun.back(), 7);
}

TEST_F(InputTest, WindowChoicePressUsesItsOwnRowEvenAfterAMoveElsewhere) {
  s().StepNo[1] = 5;
  t.Click(400, 300);
  t.Move(20, 460);   // over the first option
  t.Click(60, 490);  // press on the second ("ＡＢ", 48 px)
  EXPECT_EQ(s().SaveRecord.LastChoice, 1);
}

TEST_F(InputTest, WindowChoiceIgnoresPressesAtOrBelow590) {
  s().StepNo[1] = 5;
  questionRows = 15;  // rows pushed far down
  t.Click(400, 300);
  t.Click(20, 590);
  EXPECT_EQ(s().FlowMode, kModeChoice);
}

TEST_F(InputTest, PickPointLandsOnTheRowItNames) {
  for (int i = 0; i < 3; ++i) t.Click(400, 300);
  auto p = PickPoint(t.game(), 1);
  ASSERT_TRUE(p);
  t.Click(p->x, p->y);
  EXPECT_EQ(s().ChoiceNo, 1);
  EXPECT_FALSE(PickPoint(t.game(), 2)) << "no third option";
}

}  // namespace
}  // namespace pelmot
