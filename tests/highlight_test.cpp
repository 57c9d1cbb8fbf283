// The frame that follows the pointer over menu and choice rows.
#include <gtest/gtest.h>

#include "game_fixture.h"
#include "present/choices.h"
#include "present/menu_page.h"

namespace pelmot {
namespace {

using testing::TestGame;

class HighlightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Surface* s : {&t.form().MainWork, &t.form().Msg}) testing::Fill(*s, kWhite);
  }
  bool Black(int x, int y) { return t.form().MainPic.ScreenPixel(x, y) == kBlack; }
  // Checks a frame's four sides around the band from `top` to `bottom`.
  void ExpectFrame(int left, int right, int top, int bottom) {
    const int mid = (top + bottom) / 2;
    EXPECT_TRUE(Black(left, mid)) << "left side";
    EXPECT_TRUE(Black(right, mid)) << "right side";
    EXPECT_TRUE(Black(left + 3, top)) << "top side";
    EXPECT_TRUE(Black(left + 3, bottom)) << "bottom side";
    EXPECT_FALSE(Black(left + 3, top - 1));
    EXPECT_FALSE(Black(left + 3, bottom + 1));
    EXPECT_FALSE(Black(left - 1, mid));
    EXPECT_FALSE(Black(right + 1, mid));
  }
  int BlackPixels() { return testing::CountColour(t.form().MainPic.ScreenPixels(), kBlack); }
  TestGame t;
};

TEST_F(HighlightTest, SystemMenuRowUnderThePointerIsFramed) {
  t.state().FlowMode = kModeSystemMenu;
  DrawMenu(t.game(), {"セーブ", "ロード", "タイトルに戻る", "ゲーム終了", "解像度変更", "キャンセル"}, "メニュー");
  const int plain = BlackPixels();
  t.Move(400, 150);
  EXPECT_EQ(t.state().HoverNo, 1);
  // "ロード" is 72 px: text from 364, the frame from 363 to 438, y 144 ... 176.
  ExpectFrame(363, 438, 144, 176);
  t.Move(400, 176);
  EXPECT_EQ(t.state().HoverNo, 2) << "rows change at the 32-pixel boundary";
  t.Move(364, 150);
  EXPECT_EQ(BlackPixels(), plain) << "the margin of a short item has no frame";
}

TEST_F(HighlightTest, AtMostOneRowIsFramed) {
  t.state().FlowMode = kModeSystemMenu;
  DrawMenu(t.game(), {"セーブ", "ロード", "キャンセル"}, "メニュー");
  t.Move(400, 190);
  const int one = BlackPixels();
  t.Move(400, 220);
  EXPECT_EQ(BlackPixels(), one);
  t.Move(400, 10);
  EXPECT_LT(BlackPixels(), one);
}

TEST_F(HighlightTest, WindowChoiceFrame) {
  t.state().FlowMode = kModeScene;
  t.state().LineNo = 1;
  ShowChoice(t.game(), {"ＡＢＣＤ", "ＡＢ", "", "", ""});
  t.Move(60, 460);
  EXPECT_EQ(t.state().HoverNo, 0);
  ExpectFrame(14, 120, 452, 484);
  t.Move(60, 484);
  EXPECT_EQ(t.state().HoverNo, 1);
  const int hover = t.state().HoverNo;
  t.Move(60, 590);
  EXPECT_EQ(t.state().HoverNo, hover) << "at 590 and below nothing changes";
}

TEST_F(HighlightTest, PageChoiceFrame) {
  t.state().FlowMode = kModeScene;
  t.state().LineNo = 1;
  ShowChoice2(t.game(), {"はい", "いいえ", "", "", ""});
  t.Move(30, 63);
  EXPECT_EQ(t.state().HoverNo, 0);
  ExpectFrame(14, 72, 32, 64);
  t.Move(30, 64);
  EXPECT_EQ(t.state().HoverNo, 1);
}

TEST_F(HighlightTest, AnEmptySlotIsFramedButNotPicked) {
  t.state().FlowMode = kModeSystemMenu;
  t.state().StepNo[2] = 1;
  t.state().MenuKind = 1;
  DrawMenu(t.game(),
           {"データ１", "データ２", "データ３", "データ４", "データ５", "データ６", "データ７", "データ８", "データ９",
            "データ10", "キャンセル"},
           "ファイル選択");
  const int plain = BlackPixels();
  t.Move(400, 60);
  EXPECT_EQ(t.state().HoverNo, 0);
  EXPECT_GT(BlackPixels(), plain);
  t.Click(400, 60);
  EXPECT_TRUE(t.form().MainPic.enabled);
  EXPECT_EQ(t.state().StepNo[2], 1);
}

}  // namespace
}  // namespace pelmot
