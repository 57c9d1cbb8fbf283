// The keyboard beside the pointer: the frame over menus, choices and the
// album page, picks with Enter and Space, Space advancing, Escape as the
// right click, and the album viewer's way back.
#include <gtest/gtest.h>

#include "app/game_host.h"
#include "flow/pick.h"
#include "game/flow_steps.h"
#include "game_fixture.h"
#include "menus/system_menu.h"

namespace pelmot {
namespace {

using testing::TestGame;

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::InstallPlainScene(t, 3, {"一", "二", "三", "", ""});
    t.Start();
    t.Click(400, 300);  // the logo closes: the title picture
    t.Click(400, 300);  // the title menu
    ASSERT_EQ(s().StepNo[kModeTitle], kTitleMenu);
  }
  GameState& s() { return t.state(); }
  void Press(int key) {
    InputEvent down{InputEvent::Kind::kKeyDown};
    down.key = key;
    host.OnEvent(down);
    InputEvent up{InputEvent::Kind::kKeyUp};
    up.key = key;
    host.OnEvent(up);
  }
  void Press(std::initializer_list<int> keys) {
    for (int key : keys) Press(key);
  }
  std::vector<Colour> Screen() { return t.form().MainPic.Image(); }
  // MainPic as the pointer resting on the middle of `row` leaves it.
  std::vector<Colour> PointerFrame(int row) {
    const auto p = PickPoint(t.game(), row);
    EXPECT_TRUE(p);
    t.Move(p->x, p->y);
    return Screen();
  }

  TestGame t;
  GameHost& host = t.host();
};

// --- menus and choices --------------------------------------------------------

TEST_F(KeyboardTest, DownAndUpFrameTheRowsAsThePointerDoesAndWrapAround) {
  const std::vector<Colour> plain = Screen();
  Press(kVkDown);
  EXPECT_EQ(s().HoverNo, 0);
  EXPECT_NE(Screen(), plain) << "the first row is framed";
  Press({kVkDown, kVkTab});
  EXPECT_EQ(s().HoverNo, 2);
  const std::vector<Colour> framed = Screen();
  EXPECT_EQ(PointerFrame(2), framed);
  Press({kVkDown, kVkDown});
  EXPECT_EQ(s().HoverNo, 0) << "past the last row the frame comes round to the first";
  Press(kVkUp);
  EXPECT_EQ(s().HoverNo, s().OptionCount);
  EXPECT_EQ(s().FlowMode, kModeTitle);
  EXPECT_EQ(s().StepNo[kModeTitle], kTitleMenu) << "moving the frame picks nothing";
}

TEST_F(KeyboardTest, EnterFramesTheFirstRowThenPicksTheFramedOne) {
  Press(kVkEnter);
  EXPECT_EQ(s().StepNo[kModeTitle], kTitleMenu) << "nothing was framed: nothing is picked";
  EXPECT_EQ(s().HoverNo, 0);
  Press(kVkEnter);  // ゲームスタート
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_TRUE(s().ClickAdvances);
}

TEST_F(KeyboardTest, SpacePicksLikeEnterAndANewListStartsUnframed) {
  Press({kVkDown, kVkDown, kVkDown, kVkSpace});  // ＣＧモード: its submenu
  EXPECT_EQ(s().MenuItems[0], "アルバムモード");
  EXPECT_FALSE(s().ClickAdvances);
  const std::vector<Colour> plain = Screen();
  Press(kVkDown);
  EXPECT_EQ(s().HoverNo, 0) << "the submenu's first row, not the row below the last pick";
  EXPECT_NE(Screen(), plain);
}

TEST_F(KeyboardTest, TheLoadListPassesOverNeverSavedSlots) {
  Press({kVkDown, kVkDown, kVkEnter});  // ゲームロード
  ASSERT_EQ(s().MenuItems[kFileListCancelRow], "キャンセル");
  Press(kVkDown);
  EXPECT_EQ(s().HoverNo, kFileListCancelRow) << "no slot is saved: only キャンセル can be picked";
  Press(kVkDown);
  EXPECT_EQ(s().HoverNo, kFileListCancelRow);
  Press(kVkEnter);
  EXPECT_EQ(s().StepNo[kModeTitle], kTitleNewGame) << "キャンセル goes back to the title picture";
}

TEST_F(KeyboardTest, APageChoiceIsPickedWithTheKeys) {
  Press({kVkDown, kVkEnter});
  Press({kVkEnter, kVkSpace, kVkEnter});  // steps 1 ... 3: the choice waits
  ASSERT_FALSE(s().ClickAdvances);
  ASSERT_EQ(s().MenuItems[2], "三");
  Press({kVkUp, kVkUp});
  const std::vector<Colour> framed = Screen();
  EXPECT_EQ(PointerFrame(1), framed) << "the frame sits where the pointer's would";
  Press(kVkEnter);
  EXPECT_FALSE(s().ClickAdvances) << "after the pointer moved, Enter frames the row again first";
  EXPECT_EQ(Screen(), framed);
  Press(kVkEnter);
  EXPECT_TRUE(s().ClickAdvances);
  EXPECT_EQ(s().StepNo[kModeScene], 4);
  EXPECT_EQ(s().SaveRecord.LastChoice, 1);
}

// --- Space and Escape in the story ----------------------------------------------

TEST_F(KeyboardTest, SpaceAdvancesAsEnterDoesAndNotWhileSkipping) {
  Press({kVkDown, kVkEnter});
  const int step = s().StepNo[kModeScene];
  Press(kVkSpace);
  EXPECT_EQ(s().StepNo[kModeScene], step + 1);
  t.form().SkipTimer.enabled = true;
  Press(kVkSpace);
  EXPECT_EQ(s().StepNo[kModeScene], step + 1) << "Enter does nothing while skipping, and Space neither";
}

TEST_F(KeyboardTest, EscapeIsTheRightClickInTheStoryAndInTheMenu) {
  Press({kVkDown, kVkEnter, kVkEnter});
  const std::vector<Colour> story = Screen();
  Press(kVkEscape);
  EXPECT_EQ(s().FlowMode, kModeSystemMenu) << "the picture-only view";
  EXPECT_TRUE(s().ClickAdvances);
  Press(kVkEnter);
  EXPECT_EQ(s().FlowMode, kModeScene) << "Enter leaves the view as a left click does";
  EXPECT_EQ(Screen(), story);
  Press({kVkEscape, kVkEscape});
  ASSERT_EQ(s().MenuItems[0], "セーブ");
  const GameState before = s();
  Press(kVkEscape);
  EXPECT_EQ(s().StepNo, before.StepNo) << "a right click on a menu does nothing, and Escape neither";
  EXPECT_FALSE(s().ClickAdvances);
  Press({kVkUp, kVkEnter});  // キャンセル
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_EQ(Screen(), story);
}

TEST_F(KeyboardTest, EscapeLeavesTheSlideShowAsTheRightClickDoes) {
  Press({kVkDown, kVkDown, kVkDown, kVkEnter});  // ＣＧモード
  Press({kVkDown, kVkDown, kVkEnter});           // スライドショー
  ASSERT_EQ(s().FlowMode, kModeSlideShow);
  Press(kVkEscape);
  EXPECT_EQ(s().FlowMode, kModeTitle);
  EXPECT_EQ(s().StepNo[kModeTitle], kTitleNewGame);
}

// --- the album ------------------------------------------------------------------

class AlbumKeysTest : public KeyboardTest {
 protected:
  void SetUp() override {
    KeyboardTest::SetUp();
    s().CgSeen[19] = s().CgSeen[20] = 1;           // entry 0: two pictures
    Press({kVkDown, kVkDown, kVkDown, kVkEnter});  // ＣＧモード
    Press({kVkDown, kVkEnter});                    // アルバムモード
    ASSERT_EQ(s().FlowMode, kModeAlbum);
    ASSERT_FALSE(s().ClickAdvances);
  }
  // Whether MainPic differs from the page around `r` and nowhere far from it.
  bool FramedAround(const ScreenRect& r) {
    const testing::Difference d = testing::Compare(Screen(), t.form().MainWork.Image());
    return d.pixels > 0 && testing::Within(d.bounds, {r.left - 8, r.top - 8, r.width + 16, r.height + 16});
  }
};

TEST_F(AlbumKeysTest, TheArrowsMoveOverTheCellsAndUpToTheButtons) {
  Press(kVkRight);
  EXPECT_TRUE(FramedAround(AlbumCell(0))) << "the first key frames the first cell";
  Press({kVkRight, kVkDown, kVkDown, kVkDown});
  EXPECT_TRUE(FramedAround(AlbumCell(7))) << "the bottom edge holds the frame";
  Press({kVkRight, kVkRight});
  EXPECT_TRUE(FramedAround(AlbumCell(8)));
  Press({kVkUp, kVkUp, kVkUp});
  EXPECT_TRUE(FramedAround(kAlbumNext));
  Press(kVkLeft);
  EXPECT_TRUE(FramedAround(kAlbumLeave));
  Press(kVkEnter);
  EXPECT_EQ(s().FlowMode, kModeTitle) << "the leave button, pressed with Enter";
}

TEST_F(AlbumKeysTest, NextPageWithEnterAndTheLastPageHasNoNinthCell) {
  s().CgSeen[113] = 1;  // entry 43, the last one
  for (int page = 0; page < 4; ++page) {
    Press({kVkUp, kVkUp, kVkRight, kVkRight, kVkRight, kVkEnter});
    EXPECT_EQ(s().AlbumPage, page + 1);
  }
  Press({kVkDown, kVkDown, kVkDown});
  EXPECT_TRUE(FramedAround(AlbumCell(6))) << "a new page starts at its first cell";
  Press({kVkRight, kVkRight});
  EXPECT_TRUE(FramedAround(AlbumCell(7))) << "the last page has no ninth cell";
  Press({kVkUp, kVkRight, kVkDown});
  EXPECT_TRUE(FramedAround(AlbumCell(5))) << "nor below cell 5";
  Press({kVkLeft, kVkDown});
  EXPECT_TRUE(FramedAround(AlbumCell(7)));
  Press(kVkEnter);
  EXPECT_EQ(s().FlowMode, kModeAlbum);
  EXPECT_EQ(s().SceneNo, 43);
  EXPECT_TRUE(s().ClickAdvances) << "entry 43 shows its picture";
}

TEST_F(AlbumKeysTest, EnterOpensACellAndEscapeOrARightClickComesBackToThePage) {
  Press({kVkRight, kVkEnter});
  ASSERT_TRUE(s().ClickAdvances) << "the viewer shows picture 19";
  EXPECT_EQ(s().StepNo[kModeAlbum], 0);
  Press(kVkEscape);
  EXPECT_FALSE(s().ClickAdvances);
  EXPECT_TRUE(t.form().MainPic.enabled) << "the page waits for a pick again";
  EXPECT_EQ(s().StepNo[kModeAlbum], 0);
  EXPECT_EQ(Screen(), t.form().MainWork.Image());
  Press(kVkEnter);
  EXPECT_TRUE(FramedAround(AlbumCell(0))) << "the place is kept on the same page; Enter frames it";
  Press(kVkEnter);
  Press(kVkEnter);  // picture 20
  ASSERT_EQ(s().StepNo[kModeAlbum], 1);
  t.RightClick(400, 300);
  EXPECT_FALSE(s().ClickAdvances);
  EXPECT_EQ(s().AlbumPage, 0);
  EXPECT_EQ(Screen(), t.form().MainWork.Image());
}

}  // namespace
}  // namespace pelmot
