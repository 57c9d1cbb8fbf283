// Picks on the centred menus and the album page, at their pixel boundaries.
#include <gtest/gtest.h>

#include "flow/album_mode.h"
#include "flow/pick.h"
#include "game_fixture.h"
#include "present/menu_page.h"

namespace pelmot {
namespace {

using testing::TestGame;

class MenuPickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Click(5, 5);  // title picture
    t.Click(5, 5);  // title menu: title row 3, items on rows 4 ... 7
  }
  TestGame t;
};

// "ゲームスタート" is 7 x 24 = 168 px wide: 316 < x < 484; the band runs
// from y 140 (row 4) to 268.
TEST_F(MenuPickTest, CentredRowsAcceptOnlyStrictlyInsideTheText) {
  t.Click(316, 150);
  t.Click(484, 150);
  t.Click(400, 139);
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_TRUE(t.form().MainPic.enabled);
  t.Click(317, 171);
  EXPECT_EQ(t.state().ChoiceNo, 0);
  EXPECT_EQ(t.state().FlowMode, kModeScene);
}

TEST_F(MenuPickTest, RowsBelowTheLastItemAreIgnored) {
  t.Click(400, 268);  // row 8: no item
  t.Click(400, 269);  // below the band
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_EQ(t.state().StepNo[0], 3);
}

TEST_F(MenuPickTest, APressRepaintsTheCleanMenu) {
  t.form().CMenu.MutableImage()[0] = Rgb(9, 9, 9);
  t.Click(5, 150);  // beside the text: ignored, but the highlight goes
  EXPECT_EQ(t.form().MainPic.ScreenPixel(0, 0), Rgb(9, 9, 9));
}

TEST(LoadListPick, ANeverSavedSlotCannotBePickedButCancelCan) {
  TestGame t;
  GameState& s = t.state();
  s.FlowMode = kModeTitle;
  s.StepNo[0] = 4;
  s.TitleChoice = 1;
  s.SaveDate[2] = "　2026/12/06 9:21:05";
  MenuTexts items = {"データ１", "データ２",  "データ３ 26/12/06 09:21",
                     "データ４", "データ５",  "データ６",
                     "データ７", "データ８",  "データ９",
                     "データ10", "キャンセル"};
  DrawMenu(t.game(), items, "ファイル選択");
  ASSERT_EQ(s.LineNo, 12);
  auto row = [&](int i) { return *PickPoint(t.game(), i); };
  t.Click(row(0).x, row(0).y);
  EXPECT_EQ(s.StepNo[0], 4) << "slot 1 was never saved";
  t.Click(row(2).x, row(2).y);
  EXPECT_EQ(s.ChoiceNo, 2);
  EXPECT_EQ(s.StepNo[0], 5);
  EXPECT_EQ(s.MenuItems[0], "はい");
}

TEST(LoadListPick, CancelIsAlwaysPickable) {
  TestGame t;
  GameState& s = t.state();
  s.FlowMode = kModeSystemMenu;
  s.StepNo[2] = 1;
  s.MenuKind = 1;
  MenuTexts items = {"データ１", "データ２", "データ３", "データ４", "データ５",  "データ６",
                     "データ７", "データ８", "データ９", "データ10", "キャンセル"};
  DrawMenu(t.game(), items, "ファイル選択");
  auto p = *PickPoint(t.game(), 10);
  t.Click(p.x, p.y);
  EXPECT_EQ(s.ChoiceNo, 10);
  EXPECT_FALSE(t.form().MainPic.enabled);
}

TEST(AlbumHitTest, ButtonsAndCellsHaveExclusiveBounds) {
  EXPECT_EQ(HitTestAlbum(315, 8).region, AlbumRegion::Previous);
  EXPECT_EQ(HitTestAlbum(314, 8).region, AlbumRegion::None);
  EXPECT_EQ(HitTestAlbum(352, 45).region, AlbumRegion::Previous);
  EXPECT_EQ(HitTestAlbum(352, 46).region, AlbumRegion::None);
  EXPECT_EQ(HitTestAlbum(400, 20).region, AlbumRegion::Leave);
  EXPECT_EQ(HitTestAlbum(486, 20).region, AlbumRegion::Next);
  EXPECT_EQ(HitTestAlbum(487, 20).region, AlbumRegion::None);
  AlbumHit first = HitTestAlbum(41, 60);
  EXPECT_EQ(first.region, AlbumRegion::Cell);
  EXPECT_EQ(first.cell, 0);
  EXPECT_EQ(HitTestAlbum(40, 60).region, AlbumRegion::None);
  EXPECT_EQ(HitTestAlbum(241, 100).region, AlbumRegion::None);
  AlbumHit last = HitTestAlbum(756, 567);
  EXPECT_EQ(last.region, AlbumRegion::Cell);
  EXPECT_EQ(last.cell, 8);
  EXPECT_EQ(HitTestAlbum(400, 238).region, AlbumRegion::None);
  EXPECT_EQ(HitTestAlbum(400, 239).cell, 4);
}

TEST(AlbumPick, TheLastCellOfPageFourAndThePageEndsDoNothing) {
  TestGame t;
  GameState& s = t.state();
  s.FlowMode = kModeAlbum;
  s.ClickAdvances = false;
  t.form().MainPic.enabled = true;
  t.Click(330, 20);  // previous on page 0
  EXPECT_EQ(s.AlbumPage, 0);
  s.AlbumPage = 4;
  t.Click(460, 20);  // next on page 4
  EXPECT_EQ(s.AlbumPage, 4);
  t.Click(700, 500);  // row 2, column 2 of page 4
  EXPECT_EQ(s.FlowMode, kModeAlbum);
  EXPECT_TRUE(t.form().MainPic.enabled);
  t.Click(330, 20);
  EXPECT_EQ(s.AlbumPage, 3);
  t.Click(100, 100);  // entry 27
  EXPECT_EQ(s.SceneNo, 27);
}

}  // namespace
}  // namespace pelmot
