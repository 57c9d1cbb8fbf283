// Surfaces make their pixels on first use; until then they are black.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/ink_layers.h"
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

// --- text layers of one byte a pixel ------------------------------------------

// Ink as the two 32-bit layers held it: black on the white mask, the colour
// on the black layer; the page composed by AND then XOR.
struct ReferenceLayers {
  Surface mask, layer;
  ReferenceLayers() {
    mask.backColour = kWhite;
    mask.Clear();
  }
  void Ink(int x, int y, int length, Colour colour) {
    mask.FillRect(x, y, length, 1, kBlack);
    layer.FillRect(x, y, length, 1, colour);
  }
  void ComposeInto(Surface& page, int x, int y, int w, int h) const {
    page.BitBlt(0, 0, w, h, mask, x, y, Rop::SrcAnd);
    page.BitBlt(0, 0, w, h, layer, x, y, Rop::SrcInvert);
  }
};

TEST(InkLayers, ComposeAsTheMaskAndTheLayerWouldAnywhereAndInAnyPart) {
  std::mt19937 random(7);
  InkLayers ink;
  ReferenceLayers reference;
  EXPECT_EQ(ink.MaskPixel(5, 5), kWhite);
  // Runs of a few colours, some past the edges, some over each other.
  const Colour colours[] = {Rgb(240, 240, 240), Rgb(64, 64, 64), Rgb(80, 80, 80), Rgb(1, 0, 0)};
  for (int i = 0; i < 3000; ++i) {
    const int x = static_cast<int>(random() % 840) - 20, y = static_cast<int>(random() % 620) - 10;
    const int length = static_cast<int>(random() % 60);
    const Colour colour = colours[random() % 4];
    ink.Ink(x, y, length, colour);
    reference.Ink(x, y, length, colour);
  }
  // The whole page, and parts of it as an overlay takes them (one past the
  // right and bottom edges too).
  const InkLayers::Area parts[] = {
      {0, 0, 800, 600}, {0, 0, 800, 100}, {13, 27, 301, 77}, {700, 550, 100, 50}, {780, 590, 40, 20}};
  for (const InkLayers::Area& part : parts) {
    Surface expected(part.width, part.height), got(part.width, part.height);
    for (Surface* s : {&expected, &got})
      for (std::size_t i = 0; i < s->Image().size(); ++i) s->MutableImage()[i] = (i * 2654435761u) & 0xFFFFFF;
    reference.ComposeInto(expected, part.left, part.top, part.width, part.height);
    ink.ComposeInto(got.MutableImage(), part.width, part);
    EXPECT_TRUE(got.Image() == expected.Image()) << part.left << "," << part.top;
  }
  for (int y = 0; y < 600; y += 7)
    for (int x = 0; x < 800; x += 3) {
      ASSERT_EQ(ink.MaskPixel(x, y), reference.mask.ImagePixel(x, y));
      ASSERT_EQ(ink.LayerPixel(x, y), reference.layer.ImagePixel(x, y));
    }
  // Cleared, the layers leave every page as it was.
  ink.Clear();
  Surface page(800, 600);
  page.FillRect(0, 0, 800, 600, Rgb(1, 2, 3));
  const std::vector<Colour> before = page.Image();
  ink.ComposeInto(page.MutableImage(), 800, {0, 0, 800, 600});
  EXPECT_TRUE(page.Image() == before);
}

TEST(InkLayers, ColoursNoLongerInkedAreGivenAgainWithoutChangingTheInkedOnes) {
  InkLayers ink(16, 4);
  ink.Ink(0, 0, 1, Rgb(9, 9, 9));
  // Far more colours than a byte can name, each inked and gone again.
  for (int i = 1; i <= 600; ++i) {
    ink.Ink(1, 1, 2, Rgb(i & 0xFF, i >> 8, 7));
    ASSERT_EQ(ink.LayerPixel(2, 1), Rgb(i & 0xFF, i >> 8, 7)) << i;
  }
  EXPECT_EQ(ink.LayerPixel(0, 0), Rgb(9, 9, 9)) << "the colour still inked keeps its number";
  ink.Ink(3, 3, 4, kBlack);
  EXPECT_EQ(ink.MaskPixel(4, 3), kWhite) << "black ink leaves the page as it is";
}

}  // namespace
}  // namespace pelmot
