// The text layers of a page: where glyphs and their shadows are inked, and
// in which colour. A page is composed from them as a mask (black glyphs on
// white) ANDed into it and a layer (coloured glyphs on black) XORed into it
// would compose it: an inked pixel takes its colour, every other pixel stays
// as it was. So one byte a pixel holds them both: 0 for no ink, else the
// number of the ink's colour.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/glyph_run.h"
#include "platform/surface.h"

namespace pelmot {

class InkLayers {
 public:
  InkLayers() : InkLayers(kScreenWidth, kScreenHeight) {}
  InkLayers(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int fontPoints = 15;  // as placed; fontPixels is what text is drawn at
  int fontPixels = 20;

  // Resizes the layers, blank.
  void Resize(int width, int height);
  // No ink anywhere; only the rows that hold some are touched.
  void Clear();
  // Inks `length` pixels of row y from x in `colour`, clipped to the
  // layers. Black is no ink: a black glyph on black leaves the page as is.
  void Ink(int x, int y, int length, Colour colour);
  struct Area {
    int left = 0, top = 0, width = 0, height = 0;
  };
  // A glyph's runs from its cell's corner x, y, as Ink inks each, clipped
  // to `clip` too.
  void InkRuns(int x, int y, std::span<const GlyphRun> runs, Colour colour, Area clip);
  // Every pixel of `drawn` other than black inked in its colour, the
  // picture's top-left corner at x, y; only the pixels of `part` of it
  // when given.
  void InkFrom(const Surface& drawn, int x, int y);
  void InkFrom(const Surface& drawn, int x, int y, Area part);

  // Composes the ink of the rectangle `from` of these layers into `page`,
  // whose pixel 0 is the rectangle's top-left corner and whose rows are
  // `stride` pixels apart. Rows without ink are passed over.
  void ComposeInto(std::span<Colour> page, int stride, Area from) const;

  // As the mask and the layer would hold them: black or white, and the
  // ink's colour or black.
  Colour MaskPixel(int x, int y) const { return InkAt(x, y) ? kBlack : kWhite; }
  Colour LayerPixel(int x, int y) const { return palette_[InkAt(x, y)]; }
  // Whether row y holds any ink.
  bool RowInked(int y) const { return y >= 0 && y < height_ && !rowInked_.empty() && rowInked_[y]; }

  // `drawing` reads the layers: it is done before the ink changes.
  void Lend(std::shared_ptr<OwedDrawing> drawing) { owed_.Hold(std::move(drawing)); }

 private:
  std::uint8_t InkAt(int x, int y) const;
  std::uint8_t ColourNumber(Colour colour);
  void Allocate();

  // First, so that a copy settles it before the ink is copied.
  OwedSlot owed_;
  int width_;
  int height_;
  // Empty until the first ink: layers never drawn cost no memory.
  std::vector<std::uint8_t> ink_;
  std::vector<std::uint8_t> rowInked_;
  // Colour numbers: 0 is no ink (black on the layer); at most 255 colours,
  // then the least recently named one is given again (see ColourNumber).
  std::vector<Colour> palette_{kBlack};
};

}  // namespace pelmot
