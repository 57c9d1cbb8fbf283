// The mode units: one per FlowMode, each answering the pointer its own way,
// and the screen geometry their drawing and hit-testing share.
#include <gtest/gtest.h>

#include <set>

#include "flow/mode_units.h"
#include "flow/pick.h"
#include "gallery/album_table.h"
#include "gallery/gallery.h"
#include "game/modes.h"
#include "game/screen_geometry.h"
#include "game_fixture.h"

namespace pelmot {
namespace {

using testing::TestGame;

constexpr int kModes[] = {kModeTitle, kModeScene, kModeSystemMenu, kModeAlbum, kModeSlideShow, kModeChoice};

TEST(ModeTable, EveryFlowModeHasAUnitOfItsOwnAndNoOtherValueHasOne) {
  const ModeTable modes = StandardModes();
  std::set<const Mode*> units;
  for (int mode : kModes) {
    ASSERT_NE(modes.For(mode), nullptr) << mode;
    units.insert(modes.For(mode));
  }
  EXPECT_EQ(units.size(), std::size(kModes));
  EXPECT_EQ(modes.For(-1), nullptr);
  EXPECT_EQ(modes.For(kModeChoice + 1), nullptr);
}

// A unit that counts what reaches it.
class CountingMode : public MenuMode {
 public:
  void Step(Game& /*game*/) const override { ++steps; }
  void WindowPress(Game& /*game*/, PointerButton /*button*/) const override { ++presses; }
  mutable int steps = 0;
  mutable int presses = 0;
};

TEST(ModeTable, AGameRunsTheUnitsItWasBuiltWith) {
  TestGame t;
  const CountingMode counting;
  const Mode* const units[] = {&counting};
  Game game(t.game().services, t.game().paths, ModeTable(units));
  game.state.FlowMode = kModeTitle;
  RunFlow(game);
  EXPECT_EQ(counting.steps, 1);
  game.state.ClickAdvances = true;
  RouteMouseDown(game, kLeftButton, 0, 5, 5);
  EXPECT_EQ(counting.presses, 1) << "the handlers ask the game's own table";
  game.state.FlowMode = kModeScene;  // a mode this table has no unit for
  RunFlow(game);
  EXPECT_EQ(counting.steps, 1);
}

// A game waiting for a click in `mode`, with nothing that a step could do.
void WaitIn(TestGame& t, int mode) {
  t.state().FlowMode = static_cast<std::int16_t>(mode);
  t.state().ClickAdvances = true;
  t.state().StepNo = {};
}

TEST(ModeUnits, OnlyScenePlayOffersTheSkipButton) {
  for (int mode : kModes) {
    TestGame t;
    WaitIn(t, mode);
    t.Move(kSkipStrip.left + 1, kSkipStrip.top + 1);
    EXPECT_EQ(t.form().SkipB.visible, mode == kModeScene) << "mode " << mode;
    t.Move(kSkipStrip.left, kSkipStrip.top - 1);  // above the strip
    EXPECT_FALSE(t.form().SkipB.visible) << "mode " << mode;
  }
}

TEST(ModeUnits, ARightPressOnTheWindowIsEachModesOwn) {
  for (int mode : kModes) {
    TestGame t;
    WaitIn(t, mode);
    t.state().SaveRecord.ResumeMode = kModeScene;
    t.RightClick(5, 5);
    const GameState& s = t.state();
    switch (mode) {
      case kModeScene:  // the picture-only view
        EXPECT_EQ(s.FlowMode, kModeSystemMenu);
        EXPECT_TRUE(s.ClickAdvances);
        break;
      case kModeSystemMenu:  // the view's right press draws the menu
        EXPECT_EQ(s.FlowMode, kModeSystemMenu);
        EXPECT_FALSE(s.ClickAdvances);
        break;
      case kModeSlideShow:  // leaves for the title picture
        EXPECT_EQ(s.FlowMode, kModeTitle);
        EXPECT_EQ(s.StepNo[kModeTitle], 2);
        break;
      case kModeAlbum:  // the viewer goes back to its page, which waits for a pick
        EXPECT_EQ(s.FlowMode, kModeAlbum);
        EXPECT_EQ(s.StepNo[kModeAlbum], 0);
        EXPECT_FALSE(s.ClickAdvances);
        EXPECT_TRUE(t.form().MainPic.enabled);
        break;
      default:  // nothing happens
        EXPECT_EQ(s.FlowMode, mode);
        EXPECT_EQ(s.StepNo[mode], 0);
        EXPECT_TRUE(s.ClickAdvances);
        break;
    }
  }
}

// Page 1 with only the entry of one cell lit, its thumbnail drawn white on
// a black page: a press on any corner of it opens its entry, a press just
// outside it opens nothing.
TEST(AlbumGeometry, APressOnADrawnThumbnailOpensItsEntryAndBesideItNothing) {
  for (int cell = 0; cell < kAlbumCells; ++cell) {
    TestGame t;
    for (auto [picture, colour] : {std::pair{AlbumPagePicture(1), kBlack}, {AlbumSheetPicture(1), kWhite}}) {
      t.state().SysPic[picture].Resize(kScreenWidth, kScreenHeight);
      testing::Fill(t.state().SysPic[picture], colour);
    }
    t.state().CgSeen[kAlbum[kAlbumCells + cell].thumbFirst] = 1;
    t.state().AlbumPage = 1;
    ShowAlbum(t.game());
    t.state().FlowMode = kModeAlbum;
    t.state().ClickAdvances = false;
    const ScreenRect r =
        testing::Compare(t.form().MainPic.ScreenPixels(), testing::Pixels(kScreenPixels, kBlack)).bounds;
    ASSERT_GT(r.width, 0) << "cell " << cell;
    const Point inside[] = {
        {r.left, r.top}, {r.Right() - 1, r.top}, {r.left, r.Bottom() - 1}, {r.Right() - 1, r.Bottom() - 1}};
    const Point outside[] = {
        {r.left - 1, r.top}, {r.Right(), r.Bottom() - 1}, {r.left, r.top - 1}, {r.left, r.Bottom()}};
    for (Point p : inside) {
      t.Click(p.x, p.y);
      EXPECT_EQ(t.state().ShownPic, kAlbum[kAlbumCells + cell].viewFirst) << cell << " at " << p.x << "," << p.y;
      t.RightClick(5, 5);  // back to the page
    }
    for (Point p : outside) {
      t.Click(p.x, p.y);
      EXPECT_EQ(t.state().ShownPic, kNoPicture) << cell << " at " << p.x << "," << p.y;
    }
  }
}

TEST(AlbumGeometry, TheHeadlessPickOpensTheEntryOfTheCellItNames) {
  TestGame t;
  t.state().CgSeen[kAlbum[13].viewFirst] = 1;  // page 1, cell 4
  t.state().AlbumPage = 1;
  ShowAlbum(t.game());
  t.state().FlowMode = kModeAlbum;
  t.state().ClickAdvances = false;
  ASSERT_TRUE(t.Pick(4));
  EXPECT_EQ(t.state().SceneNo, 13);
  EXPECT_EQ(t.state().ShownPic, kAlbum[13].viewFirst);
  EXPECT_FALSE(PickPoint(t.game(), kAlbumCells)) << "no tenth cell";
}

}  // namespace
}  // namespace pelmot
