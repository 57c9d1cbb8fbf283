// The picture loader: files decoded exactly, placed at the origin, and a
// placeholder with one warning for a file that cannot be read.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "game_fixture.h"
#include "platform/picload.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

std::vector<Colour> RandomPixels(int w, int h, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<Colour> pixels(static_cast<std::size_t>(w) * h);
  for (Colour& p : pixels) p = random() & 0xFFFFFF;
  return pixels;
}

class PicLoadTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  PngPictureLoader loader;
  Surface target;
};

TEST_F(PicLoadTest, DecodesEveryPixelExactly) {
  // An odd width puts pixels after the last group of four in every row.
  const auto pixels = RandomPixels(13, 7, 1);
  ASSERT_TRUE(SavePng(pixels, 13, 7, PicturePath(dir.path(), 3)));
  Surface decoded(0, 0);
  ASSERT_TRUE(LoadImageFile(PicturePath(dir.path(), 3), decoded));
  EXPECT_EQ(decoded.Width(), 13);
  EXPECT_EQ(decoded.Height(), 7);
  EXPECT_EQ(decoded.Image(), pixels);
}

TEST_F(PicLoadTest, DrawsAWholePictureAtTheOrigin) {
  const auto pixels = RandomPixels(800, 600, 2);
  ASSERT_TRUE(SavePng(pixels, 800, 600, PicturePath(dir.path(), 0)));
  loader.PicLoad(target, 0, dir.path());
  EXPECT_EQ(target.Image(), pixels);
}

TEST_F(PicLoadTest, SmallerPictureLeavesTheRestBlackAndLargerIsCut) {
  const auto small = RandomPixels(100, 50, 3);
  ASSERT_TRUE(SavePng(small, 100, 50, PicturePath(dir.path(), 1)));
  target.FillRect(0, 0, 800, 600, kWhite);
  loader.PicLoad(target, 1, dir.path());
  EXPECT_EQ(target.ImagePixel(99, 49), small[49 * 100 + 99]);
  EXPECT_EQ(target.ImagePixel(100, 49), kBlack);
  EXPECT_EQ(target.ImagePixel(0, 50), kBlack);
  EXPECT_EQ(target.ImagePixel(799, 599), kBlack);

  const auto large = RandomPixels(900, 700, 4);
  ASSERT_TRUE(SavePng(large, 900, 700, PicturePath(dir.path(), 2)));
  loader.PicLoad(target, 2, dir.path());
  EXPECT_EQ(target.ImagePixel(799, 599), large[599 * 900 + 799]);
  EXPECT_EQ(target.Width(), 800);
}

TEST_F(PicLoadTest, UnreadableFileGivesAPlaceholderAndOneWarning) {
  std::ofstream(PicturePath(dir.path(), 42)) << "not a picture";
  ::testing::internal::CaptureStderr();
  loader.PicLoad(target, 42, dir.path());
  loader.PicLoad(target, 42, dir.path());
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(PicturePath(dir.path(), 42)), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
  const Colour grey = Rgb(96, 96, 96), ink = Rgb(230, 230, 230);
  EXPECT_EQ(target.ImagePixel(0, 0), grey);
  int digitPixels = 0;
  for (Colour p : target.Image()) digitPixels += p == ink;
  EXPECT_GT(digitPixels, 2000) << "the number shows";
}

TEST(FreshPage, PictureOfAnotherSizeLeavesTheRestOfThePageBlack) {
  testing::TestGame t;
  t.form().MainWork.Resize(400, 300);
  t.form().MainWork.FillRect(0, 0, 400, 300, Rgb(10, 200, 30));
  ShowText2(t.game(), "");
  EXPECT_EQ(t.form().MainPic.ScreenPixel(399, 299), Rgb(10, 200, 30));
  EXPECT_EQ(t.form().MainPic.ScreenPixel(400, 299), kBlack);
  EXPECT_EQ(t.form().MainPic.ScreenPixel(10, 500), kBlack);
}

}  // namespace
}  // namespace pelmot
