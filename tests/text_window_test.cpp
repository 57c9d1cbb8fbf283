// The text window and the choices on the page: rows at their positions,
// face and shadow pixels, dimming, composition, continuation over pages and
// the options under the question. The fixture's font has exact metrics and
// draws each character as a block inset one pixel in its 24 x 24 cell.
#include <gtest/gtest.h>

#include <sstream>

#include "game_fixture.h"
#include "present/choices.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

using testing::Fill;
using testing::TestGame;

constexpr Colour kFace = Rgb(240, 240, 240);
constexpr Colour kShadow = Rgb(64, 64, 64);
constexpr Colour kOptionShadow = Rgb(80, 80, 80);
constexpr Colour kPicture = Rgb(0x80, 0x90, 0xA0);

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

class TextWindowTest : public ::testing::Test {
 protected:
  TextWindowTest() { Fill(t.form().MainWork, kPicture); }
  Colour Shown(int x, int y) { return t.form().MainPic.ScreenPixel(x, y); }
  Colour Kept(int x, int y) { return t.form().MainPic.ImagePixel(x, y); }
  // A character cell's block: face at the text position, shadow 2 down and
  // right; a pixel of the shadow's last column lies outside the face.
  void ExpectCharacterAt(int x, int y, Colour shadow = kShadow) {
    EXPECT_EQ(Shown(x + 1, y + 1), kFace) << "face at " << x << "," << y;
    EXPECT_EQ(Shown(x + 2 + 22, y + 2 + 22), shadow) << "shadow at " << x << "," << y;
    EXPECT_EQ(Shown(x, y), kPicture) << "cell corner at " << x << "," << y;
  }
  TestGame t;
};

TEST_F(TextWindowTest, FullScreenRowsStartAtTwentyFourAndAre32Apart) {
  ShowText2(t.game(), "あ@rい");
  ExpectCharacterAt(20, 4);
  ExpectCharacterAt(20, 36);
  EXPECT_EQ(Shown(21 + 24, 5), kPicture) << "only one character on the row";
  EXPECT_EQ(t.state().LineNo, 2);
  EXPECT_EQ(Kept(21, 5), kFace) << "the page survives a repaint";
}

TEST_F(TextWindowTest, WindowRowsStartAtThirty424) {
  ShowText(t.game(), "あ@rい");
  ExpectCharacterAt(30, 424);
  ExpectCharacterAt(30, 456);
  EXPECT_EQ(Kept(31, 457), kFace);
}

TEST_F(TextWindowTest, WindowDimsOnlyItsAreaFromTheMasksTopLeft) {
  Surface& mask = t.state().SysPic[0];
  Fill(mask, kBlack);
  mask.FillRect(0, 0, 760, 180, Rgb(0x3C, 0x3C, 0x3C));
  Fill(t.form().MainWork, kWhite);
  ShowText(t.game(), "");
  const Colour dimmed = Rgb(0x3C, 0x3C, 0x3C);
  EXPECT_EQ(Shown(20, 410), dimmed);
  EXPECT_EQ(Shown(779, 589), dimmed);
  EXPECT_EQ(Shown(19, 410), kWhite);
  EXPECT_EQ(Shown(780, 589), kWhite);
  EXPECT_EQ(Shown(20, 409), kWhite);
  EXPECT_EQ(Shown(20, 590), kWhite);
  EXPECT_EQ(t.state().LineNo, 1);
}

TEST_F(TextWindowTest, FullScreenDimsTheWholePage) {
  Surface& mask = t.state().SysPic[0];
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) mask.SetImagePixel(x, y, (x + y) % 2 ? kWhite : Rgb(0x0F, 0xF0, 0x33));
  ShowText2(t.game(), "");
  EXPECT_EQ(Shown(0, 0), kPicture & Rgb(0x0F, 0xF0, 0x33));
  EXPECT_EQ(Shown(799, 598), kPicture);
  EXPECT_EQ(Shown(799, 599), kPicture & Rgb(0x0F, 0xF0, 0x33));
  EXPECT_EQ(t.state().LineNo, 1) << "an empty text still counts its row";
}

TEST_F(TextWindowTest, ComposesTheLayersBitwiseOverTheDimmedPicture) {
  Fill(t.state().SysPic[0], Rgb(0xF0, 0x0F, 0xFF));
  ShowText2(t.game(), "あ");
  EXPECT_EQ(Shown(21, 5), kFace) << "fully covered pixels are exactly the face";
  EXPECT_EQ(Shown(44, 28), kShadow);
  EXPECT_EQ(Shown(300, 300), kPicture & Rgb(0xF0, 0x0F, 0xFF));
  // The layers stay as drawn: mask black on white, text on black.
  EXPECT_EQ(t.form().MsgInk.MaskPixel(21, 5), kBlack);
  EXPECT_EQ(t.form().MsgInk.MaskPixel(300, 300), kWhite);
  EXPECT_EQ(t.form().MsgInk.LayerPixel(21, 5), kFace);
  EXPECT_EQ(t.form().MsgInk.LayerPixel(44, 28), kShadow);
  EXPECT_EQ(t.form().MsgInk.LayerPixel(300, 300), kBlack);
}

TEST_F(TextWindowTest, ContinuedWindowPageComposesWhateverTheLayersHold) {
  ShowText(t.game(), "あ");
  // Something inked into the layers between two calls becomes part of the page.
  t.form().MsgInk.Ink(700, 100, 3, Rgb(0, 0, 0xFF));
  ShowText(t.game(), "@い");
  EXPECT_EQ(Shown(700, 100), Rgb(0, 0, 0xFF));
  EXPECT_EQ(Shown(702, 100), Rgb(0, 0, 0xFF));
  EXPECT_EQ(Shown(703, 100), kPicture & t.state().SysPic[0].ImagePixel(703, 100));
  ExpectCharacterAt(30, 424);
  ExpectCharacterAt(30, 456);
  EXPECT_EQ(t.state().LineNo, 2);
}

TEST_F(TextWindowTest, ContinuedFullScreenPageKeepsEarlierRows) {
  ShowText2(t.game(), "あ");
  Fill(t.form().MainWork, kBlack);  // a continued page does not repaint the picture
  ShowText2(t.game(), "＠い");
  ExpectCharacterAt(20, 4);
  ExpectCharacterAt(20, 36);
  EXPECT_EQ(t.form().MsgInk.LayerPixel(21, 5), kBlack) << "continuing clears the full-screen layers";
}

TEST_F(TextWindowTest, FreshPageStartsAgainAtTheTop) {
  ShowText2(t.game(), "あ@rい@rう");
  ShowText2(t.game(), "え");
  EXPECT_EQ(t.state().LineNo, 1);
  ExpectCharacterAt(20, 4);
  EXPECT_EQ(Shown(21, 37), kPicture) << "the earlier rows are gone";
}

TEST_F(TextWindowTest, LongTextContinuesOnTheNextClickOfTheSameStep) {
  GameState& s = t.state();
  std::vector<int> stepsRun;
  const std::string line = Repeat("あ", 31 * 16) + "いう";
  t.scenes().procedures[0] = [&](Game& g) {
    stepsRun.push_back(g.state.StepNo[1]);
    if (g.state.StepNo[1] == 1) ShowText2(g, line);
    if (g.state.StepNo[1] == 2) ShowText2(g, "え");
  };
  s.FlowMode = kModeScene;
  s.SceneNo = 0;
  t.Click(400, 300);
  EXPECT_EQ(s.PendingText, "いう");
  EXPECT_EQ(s.LineNo, 16);
  ExpectCharacterAt(20, 4 + 32 * 15);
  t.Click(400, 300);
  EXPECT_EQ(s.StepNo[1], 1) << "the step is run again, not advanced";
  EXPECT_EQ(s.PendingText, "");
  EXPECT_EQ(s.LineNo, 1);
  ExpectCharacterAt(20, 4);
  ExpectCharacterAt(44, 4);
  EXPECT_EQ(Shown(21, 37), kPicture) << "the rest is on a fresh page";
  t.Click(400, 300);
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 1, 2}));
}

TEST_F(TextWindowTest, PendingRestWinsOverTheArgument) {
  ShowText(t.game(), Repeat("あ", 90) + "い");
  EXPECT_EQ(t.state().PendingText, "い");
  ShowText(t.game(), "ちがう");
  EXPECT_EQ(t.state().PendingText, "");
  EXPECT_EQ(t.state().LineNo, 1);
  ExpectCharacterAt(30, 424);
  EXPECT_EQ(Shown(31 + 24, 425), kPicture) << "one character: the rest, not the argument";
}

TEST_F(TextWindowTest, TextThatExactlyFillsTheWindowLeavesNothingPending) {
  ShowText(t.game(), Repeat("あ", 90));
  EXPECT_EQ(t.state().PendingText, "");
  EXPECT_EQ(t.state().LineNo, 3);
  ExpectCharacterAt(30 + 24 * 29, 424 + 64);
}

// Each page shown counts as a line, in either window, and the trace names it.
TEST_F(TextWindowTest, CountsEachPageShownAndTracesIt) {
  std::ostringstream trace;
  t.game().trace = &trace;
  ShowText(t.game(), Repeat("あ", 90) + "い");
  ShowText(t.game(), "ちがう");
  ShowText2(t.game(), "う");
  EXPECT_EQ(t.game().linesShown, 3);
  EXPECT_EQ(trace.str(), "LineShown 1\nLineShown 2\nLineShown 3\n");
  t.game().trace = nullptr;
}

TEST_F(TextWindowTest, SwitchesTheMessageSurfacesBackToDirectDrawing) {
  ShowText2(t.game(), "あ");
  EXPECT_FALSE(t.form().Msg.Persistent());
}

// ---- choices -------------------------------------------------------------

TEST_F(TextWindowTest, FiveOptionsGoBelowTheWindowQuestion) {
  t.form().SkipTimer.enabled = true;
  ShowText(t.game(), "問");
  ShowChoice(t.game(), {"一", "二", "三", "四", "五"});
  GameState& s = t.state();
  EXPECT_EQ(s.LineNo, 6);
  EXPECT_EQ(s.OptionCount, 4);
  EXPECT_EQ(s.FlowMode, kModeChoice);
  EXPECT_FALSE(s.ClickAdvances);
  EXPECT_FALSE(t.form().SkipTimer.enabled);
  EXPECT_TRUE(t.form().MainPic.enabled);
  EXPECT_EQ(s.MenuItems[4], "五");
  EXPECT_EQ(s.MenuItems[5], "");
  ExpectCharacterAt(30, 424);  // the question stays
  for (int n = 1; n <= 4; ++n) ExpectCharacterAt(20, 424 + 32 * n, kOptionShadow);
  // The fifth option, on row 5 at y 584, runs off the bottom of the screen.
  EXPECT_EQ(Shown(21, 585), kFace);
  EXPECT_EQ(Shown(44, 599), kOptionShadow);
}

TEST_F(TextWindowTest, TwoOptionsAfterAOneRowQuestion) {
  ShowText(t.game(), "問");
  ShowChoice(t.game(), {"はい", "いいえ", "", "", ""});
  EXPECT_EQ(t.state().LineNo, 3);
  EXPECT_EQ(t.state().OptionCount, 1);
  ExpectCharacterAt(20, 456, kOptionShadow);
  ExpectCharacterAt(20, 488, kOptionShadow);
  EXPECT_EQ(Shown(21, 521), kPicture);
}

TEST_F(TextWindowTest, EmptyOptionInTheMiddleLeavesALaterOneOut) {
  ShowText(t.game(), "問");
  ShowChoice(t.game(), {"一", "", "三", "四", ""});
  EXPECT_EQ(t.state().OptionCount, 2);
  EXPECT_EQ(t.state().LineNo, 4);
  ExpectCharacterAt(20, 456, kOptionShadow);
  EXPECT_EQ(Shown(21, 489), kPicture) << "the empty entry takes its row";
  ExpectCharacterAt(20, 520, kOptionShadow);
  EXPECT_EQ(Shown(21, 553), kPicture) << "entry 3 is not drawn";
}

TEST_F(TextWindowTest, FullScreenChoiceStaysInScenePlay) {
  GameState& s = t.state();
  s.FlowMode = kModeScene;
  ShowText2(t.game(), "問@rい");
  ShowChoice2(t.game(), {"一", "二", "", "", ""});
  EXPECT_EQ(s.FlowMode, kModeScene);
  EXPECT_EQ(s.LineNo, 4);
  ExpectCharacterAt(20, 4);
  ExpectCharacterAt(20, 36);
  ExpectCharacterAt(20, 68, kOptionShadow);
  ExpectCharacterAt(20, 100, kOptionShadow);
  EXPECT_TRUE(t.form().MainPic.enabled);
  EXPECT_FALSE(s.ClickAdvances);
}

TEST_F(TextWindowTest, StopSkipStopsTheTimer) {
  t.form().SkipTimer.enabled = true;
  StopSkip(t.game());
  EXPECT_FALSE(t.form().SkipTimer.enabled);
}

}  // namespace
}  // namespace pelmot
