// Surfaces make their pixels on first use; until then they are black.
#include <gtest/gtest.h>

#include <vector>

#include "platform/surface.h"

namespace pelmot {
namespace {

bool AllAre(const std::vector<Colour>& pixels, Colour c, std::size_t count) {
  if (pixels.size() != count) return false;
  for (Colour p : pixels)
    if (p != c) return false;
  return true;
}

TEST(LazySurface, ANeverDrawnSurfaceReadsBlackEveryWay) {
  Surface s(4, 3);
  EXPECT_EQ(s.ImagePixel(3, 2), kBlack);
  EXPECT_EQ(s.ScreenPixel(3, 2), kBlack);
  EXPECT_TRUE(AllAre(s.Image(), kBlack, 12));
  s.SetShown(true);
  EXPECT_EQ(s.ScreenPixel(0, 0), kBlack);
  EXPECT_TRUE(AllAre(s.ScreenPixels(), kBlack, 12));
  Surface fresh(4, 3);
  fresh.SetShown(true);
  fresh.SetPersistent(false);
  fresh.FillRect(0, 0, 1, 1, kWhite);  // onto the screen copy only
  EXPECT_EQ(fresh.ScreenPixel(0, 0), kWhite);
  EXPECT_EQ(fresh.ScreenPixel(1, 0), kBlack);
  EXPECT_EQ(fresh.ImagePixel(0, 0), kBlack);
}

TEST(LazySurface, ClearAndResizeFillWithTheBackColour) {
  Surface s(2, 2);
  s.backColour = Rgb(1, 2, 3);
  s.Clear();
  EXPECT_TRUE(AllAre(s.Image(), Rgb(1, 2, 3), 4));
  s.Resize(3, 1);
  EXPECT_TRUE(AllAre(s.Image(), Rgb(1, 2, 3), 3));
  s.backColour = kBlack;
  s.FillRect(0, 0, 3, 1, kWhite);
  s.Resize(2, 3);
  EXPECT_TRUE(AllAre(s.Image(), kBlack, 6));
  s.FillRect(0, 0, 2, 3, kWhite);
  s.Clear();
  EXPECT_TRUE(AllAre(s.Image(), kBlack, 6));
}

TEST(LazySurface, ANeverDrawnSourceBlitsAsBlack) {
  Surface source(2, 2), target(2, 2);
  target.FillRect(0, 0, 2, 2, Rgb(9, 9, 9));
  target.BitBlt(0, 0, 2, 2, source, 0, 0, Rop::SrcInvert);
  EXPECT_TRUE(AllAre(target.Image(), Rgb(9, 9, 9), 4));
  target.BitBlt(0, 0, 1, 2, source, 0, 0, Rop::SrcCopy);
  EXPECT_EQ(target.ImagePixel(0, 1), kBlack);
  EXPECT_EQ(target.ImagePixel(1, 1), Rgb(9, 9, 9));
  const std::uint64_t before = target.Revision();
  target.Clear();
  EXPECT_NE(target.Revision(), before) << "a clear is a change even when it costs nothing";
}

// The screen copy of a shown surface: drawing with persistent drawing off
// shows on screen only, over what the kept image held at that moment, and a
// refresh brings the kept image back, however often the two alternate.
TEST(ScreenCopy, DirectDrawingLastsUntilTheNextRefresh) {
  Surface s(4, 2);
  s.SetShown(true);
  s.SetPersistent(true);
  s.FillRect(0, 0, 4, 2, Rgb(1, 1, 1));
  s.Refresh();
  for (int round = 0; round < 2; ++round) {
    s.SetPersistent(false);
    s.FillRect(0, 0, 1, 1, Rgb(9, 9, 9));
    EXPECT_EQ(s.ScreenPixel(0, 0), Rgb(9, 9, 9));
    EXPECT_EQ(s.ScreenPixel(3, 1), round == 0 ? Rgb(1, 1, 1) : Rgb(2, 2, 2));
    EXPECT_EQ(s.ImagePixel(0, 0), round == 0 ? Rgb(1, 1, 1) : Rgb(2, 2, 2));
    s.Refresh();
    EXPECT_EQ(s.ScreenPixel(0, 0), s.ImagePixel(0, 0));
    s.SetPersistent(true);
    s.FillRect(0, 0, 4, 2, Rgb(2, 2, 2));
    s.PresentIfChanged();
    EXPECT_EQ(s.ScreenPixels(), s.Image());
  }
  s.SetShown(false);
  EXPECT_EQ(s.ScreenPixel(1, 1), Rgb(2, 2, 2));
}

}  // namespace
}  // namespace pelmot
