// The album and the slideshow, entered from the title as a player does.
#include <gtest/gtest.h>

#include "game_fixture.h"

namespace pelmot {
namespace {

using testing::TestGame;

constexpr Colour kPage = Rgb(10, 10, 10);
constexpr Colour kSheet = Rgb(200, 100, 50);

class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Start();
    for (int i = 1; i <= 10; ++i) {
      t.state().SysPic[i].Resize(800, 600);
      testing::Fill(t.state().SysPic[i], i % 2 ? kPage : kSheet);
    }
  }
  void Seen(std::initializer_list<int> pictures) {
    for (int n : pictures) t.state().CgSeen[n] = 1;
  }
  void OpenGallery(int item) {
    t.Click(400, 300);
    t.Click(400, 300);
    ASSERT_TRUE(t.Pick(2));  // ＣＧモード
    ASSERT_TRUE(t.Pick(item));
  }
  // Advances while the viewer or slideshow runs and lists each picture it
  // puts on screen.
  std::vector<int> ViewerRun(int maxAdvances) {
    const int mode = t.state().FlowMode;
    std::vector<int> shown{t.state().ShownPic};
    for (int i = 0; i < maxAdvances; ++i) {
      t.Click(400, 300);
      if (t.state().FlowMode != mode || !t.state().ClickAdvances) break;
      if (t.state().ShownPic != shown.back()) shown.push_back(t.state().ShownPic);
    }
    return shown;
  }
  void PickCell(int cell) { t.Click(140 + 258 * (cell % 3), 134 + 179 * (cell / 3)); }
  Colour Screen(int x, int y) { return t.form().MainPic.ScreenPixel(x, y); }

  TestGame t;
};

TEST(AlbumPictures, LoadWhenTheAlbumFirstShowsThem) {
  TestGame t;
  t.Start();
  EXPECT_EQ(t.state().SysPic[1].Width(), 0) << "not loaded at start";
  EXPECT_EQ(t.state().SysPic[0].Width(), 800);
  EXPECT_EQ(t.state().SysPic[11].Width(), 800);
  t.Click(400, 300);
  t.Click(400, 300);
  t.Pick(2);
  t.Pick(0);
  EXPECT_EQ(t.state().SysPic[1].Width(), 800);
  EXPECT_EQ(t.state().SysPic[2].Width(), 800);
  EXPECT_EQ(t.state().SysPic[3].Width(), 0);
}

TEST_F(GalleryTest, WithNothingSeenThePageShowsItsBackgroundAndACellRedrawsIt) {
  OpenGallery(0);
  EXPECT_EQ(t.state().FlowMode, kModeAlbum);
  EXPECT_FALSE(t.state().ClickAdvances);
  EXPECT_TRUE(t.form().MainPic.enabled);
  EXPECT_EQ(Screen(100, 100), kPage);
  PickCell(0);
  EXPECT_EQ(t.state().FlowMode, kModeAlbum);
  EXPECT_FALSE(t.state().ClickAdvances) << "the page is back at once";
  EXPECT_TRUE(t.form().MainPic.enabled);
}

TEST_F(GalleryTest, TwoSeenPicturesLightTheFirstEntryAndItsViewerShowsBoth) {
  Seen({19, 20});
  OpenGallery(0);
  EXPECT_EQ(Screen(41, 60), kSheet);
  EXPECT_EQ(Screen(240, 209), kSheet);
  EXPECT_EQ(Screen(40, 60), kPage);
  EXPECT_EQ(Screen(241, 100), kPage);
  EXPECT_EQ(Screen(299, 60), kPage) << "entry 1 is not lit";
  PickCell(0);
  EXPECT_EQ(ViewerRun(5), (std::vector<int>{19, 20}));
  EXPECT_EQ(t.state().FlowMode, kModeAlbum);
  EXPECT_TRUE(t.form().MainPic.enabled) << "the page waits again";
}

TEST_F(GalleryTest, TheViewerShowsPicturesThatDoNotLightTheThumbnail) {
  Seen({20, 66});
  OpenGallery(0);
  EXPECT_EQ(Screen(41, 60), kPage) << "20 alone does not light entry 0";
  PickCell(0);
  EXPECT_EQ(ViewerRun(5), (std::vector<int>{20}));
  t.Click(460, 20);
  t.Click(460, 20);  // page 2
  EXPECT_EQ(t.state().AlbumPage, 2);
  EXPECT_EQ(Screen(299, 239), kPage) << "66 alone does not light entry 22";
  PickCell(4);
  EXPECT_EQ(ViewerRun(5), (std::vector<int>{66}));
}

TEST_F(GalleryTest, LeavingTheAlbumShowsTheTitlePictureAndItReopensAtPageZero) {
  OpenGallery(0);
  t.Click(460, 20);
  t.Click(400, 20);  // leave
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_EQ(t.state().ShownPic, 0);
  t.Click(400, 300);
  ASSERT_TRUE(t.Pick(2));
  ASSERT_TRUE(t.Pick(0));
  EXPECT_EQ(t.state().AlbumPage, 0);
}

TEST_F(GalleryTest, TheSlideshowWithNothingSeenGoesStraightToTheCompletionLine) {
  OpenGallery(1);
  EXPECT_EQ(t.state().FlowMode, kModeSlideShow);
  EXPECT_EQ(t.state().StepNo[kModeSlideShow], 95);
  EXPECT_TRUE(t.text.Drew("ＣＧ達成率0／93"));
  t.Click(400, 300);
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_EQ(t.state().ShownPic, 0);
}

TEST_F(GalleryTest, EverythingTheStoryShowsCountsNinetyThreeAndPicture21NeverShows) {
  for (int n = 1; n <= 134; ++n)
    if (n != 52) t.state().CgSeen[n] = 1;
  OpenGallery(1);
  std::vector<int> shown = ViewerRun(200);
  EXPECT_EQ(shown.size(), 93u);
  EXPECT_EQ(shown.front(), 19);
  EXPECT_EQ(shown.back(), 113);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), 21), 0);
  EXPECT_TRUE(t.text.Drew("ＣＧ達成率93／93"));
}

TEST_F(GalleryTest, ARightClickEndsTheSlideshowAndTheNextVisitStartsAgain) {
  Seen({19, 20, 22, 30});
  OpenGallery(1);
  t.Click(400, 300);
  EXPECT_EQ(t.state().ShownPic, 20);
  t.RightClick(400, 300);
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_EQ(t.state().StepNo[kModeSlideShow], 0);
  t.Click(400, 300);
  ASSERT_TRUE(t.Pick(2));
  ASSERT_TRUE(t.Pick(1));
  EXPECT_EQ(t.state().ShownPic, 19);
  EXPECT_EQ(t.state().SlideNo, 1);
}

}  // namespace
}  // namespace pelmot
