// The picture loader: files decoded exactly, placed at the origin, and a
// placeholder with one warning for a file that cannot be read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include <fstream>
#include <random>

#include "game_fixture.h"
#include "platform/common/picload.h"
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

TEST_F(PicLoadTest, SmallerPictureLeavesTheRestBlackAndLargerIsRefused) {
  const auto small = RandomPixels(100, 50, 3);
  ASSERT_TRUE(SavePng(small, 100, 50, PicturePath(dir.path(), 1)));
  target.FillRect(0, 0, 800, 600, kWhite);
  loader.PicLoad(target, 1, dir.path());
  EXPECT_EQ(target.ImagePixel(99, 49), small[49 * 100 + 99]);
  EXPECT_EQ(target.ImagePixel(100, 49), kBlack);
  EXPECT_EQ(target.ImagePixel(0, 50), kBlack);
  EXPECT_EQ(target.ImagePixel(799, 599), kBlack);

  const auto large = RandomPixels(801, 600, 4);
  ASSERT_TRUE(SavePng(large, 801, 600, PicturePath(dir.path(), 2)));
  ::testing::internal::CaptureStderr();
  loader.PicLoad(target, 2, dir.path());
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("801 x 600"), std::string::npos) << err;
  EXPECT_EQ(target.ImagePixel(0, 0), Rgb(96, 96, 96)) << "the placeholder";
  EXPECT_EQ(target.Width(), 800);
}

// Files whose headers claim a picture far larger than the screen: each gets
// the placeholder and one warning, without the decoder ever asking for the
// memory the header claims.
std::string PngHeaderClaiming(std::uint32_t width, std::uint32_t height) {
  std::string b = "\x89PNG\r\n\x1a\n";
  b += std::string("\0\0\0\x0dIHDR", 8);
  for (std::uint32_t v : {width, height})
    for (int shift : {24, 16, 8, 0}) b.push_back(static_cast<char>(v >> shift & 0xFF));
  b += std::string("\x08\x02\0\0\0", 5);
  b += std::string(4, '\0');  // the checksum; never reached
  return b;
}

std::string BmpHeaderClaiming(std::int32_t width, std::int32_t height, std::size_t size) {
  std::string b(size, '\0');
  b[0] = 'B';
  b[1] = 'M';
  b[14] = 40;
  for (int i = 0; i < 4; ++i) {
    b[18 + i] = static_cast<char>(width >> (8 * i) & 0xFF);
    b[22 + i] = static_cast<char>(height >> (8 * i) & 0xFF);
  }
  b[26] = 1;
  b[28] = 24;
  return b;
}

TEST_F(PicLoadTest, HeadersClaimingHugePicturesAreRefusedBeforeDecoding) {
  const std::vector<std::pair<int, std::string>> files = {
      {10, PngHeaderClaiming(100000, 100000) + std::string(41, '\0')},
      {11, BmpHeaderClaiming(100000, 100000, 64)},
      {12, BmpHeaderClaiming(800, -100000, 64)},
      {13, PngHeaderClaiming(20000, 20000) + std::string(400000, '\0')},
      {14, std::string("GIF89a\x20\x4e\x20\x4e", 10) + std::string(60, '\0')},
  };
  for (const auto& [n, bytes] : files) {
    std::ofstream(PicturePath(dir.path(), n), std::ios::binary) << bytes;
    target.FillRect(0, 0, 800, 600, kWhite);
    ::testing::internal::CaptureStderr();
    loader.PicLoad(target, n, dir.path());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(PicturePath(dir.path(), n)), std::string::npos) << n << ": " << err;
    EXPECT_EQ(target.ImagePixel(0, 0), Rgb(96, 96, 96)) << n;
    Surface decoded(0, 0);
    EXPECT_FALSE(LoadImageFile(PicturePath(dir.path(), n), decoded)) << n;
  }
}

TEST_F(PicLoadTest, APipeOrADeviceIsRefusedNotWaitedOn) {
  ASSERT_EQ(::mkfifo(PicturePath(dir.path(), 5).c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", PicturePath(dir.path(), 6));
  for (int n : {5, 6}) {
    ::testing::internal::CaptureStderr();
    loader.PicLoad(target, n, dir.path());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(PicturePath(dir.path(), n)), std::string::npos) << err;
    EXPECT_EQ(target.ImagePixel(0, 0), Rgb(96, 96, 96));
  }
}

TEST_F(PicLoadTest, ABmpPictureWorksUnderThePngName) {
  // 2 x 2, 24 bits, rows bottom-up, each padded to 8 bytes.
  std::string bmp = BmpHeaderClaiming(2, 2, 54);
  bmp[10] = 54;                                           // where the pixels start
  bmp += std::string("\x03\x02\x01\x06\x05\x04\0\0", 8);  // bottom row: 010203, 040506
  bmp += std::string("\x30\x20\x10\x60\x50\x40\0\0", 8);  // top row: 102030, 405060
  std::ofstream(PicturePath(dir.path(), 7), std::ios::binary) << bmp;
  Surface decoded(0, 0);
  ASSERT_TRUE(LoadImageFile(PicturePath(dir.path(), 7), decoded));
  EXPECT_EQ(decoded.Image(), (std::vector<Colour>{0x102030, 0x405060, 0x010203, 0x040506}));
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
