// The block transfers of the page composition, bit for bit as
// Surface::BitBlt does them, but limited to the rows that can change and
// fused where several steps touch the same pixels. A page is rebuilt on
// every text line, so these run at every click.
#pragma once

#include "platform/ink_layers.h"
#include "platform/surface.h"

namespace pelmot {

// Rows top ... bottom - 1 of a page (clamped to the surfaces when used).
struct RowBand {
  int top = 0;
  int bottom = 0;
  bool Empty() const { return bottom <= top; }
  // Grows the band to cover rows y ... y + height - 1.
  void Cover(int y, int height);
  static RowBand Whole(const Surface& s) { return {0, s.Height()}; }
};

// The part of a page that the dimming mask is ANDed into, read from the
// mask at maskX, maskY.
struct DimmedArea {
  int x, y, w, h;
  int maskX = 0, maskY = 0;
};

// The surfaces of one page composition.
struct PageSurfaces {
  Surface& page;           // Msg
  const Surface& picture;  // MainWork
  const Surface& mask;     // the dimming mask
  const InkLayers& text;   // MsgInk
};

// What a fresh page has to redo.
struct FreshPageWork {
  RowBand rewrite;      // page rows to compute again (a whole page: all)
  RowBand inked;        // rows where the layers hold text
  bool copyAll = true;  // false: `shown` equals the page outside `rewrite`
};

// A fresh page in one pass: page = picture, ANDed with the mask over the
// dimmed area, then the text composed over the rows of `inked`; each
// finished row is also copied to `shown`. The same pixels as the copy, the
// AND, the composition and the copy to the screen one after the other, for
// a page whose layers were drawn beforehand. Rows outside `rewrite` must
// already hold the picture dimmed, and no text.
void PaintFreshPage(const PageSurfaces& s, const DimmedArea& dimmed, const FreshPageWork& work, Surface& shown);

// Copies the rows of `from`'s kept image into `to`'s drawing target (the
// whole page when the sizes differ).
void CopyRows(Surface& to, const Surface& from, RowBand rows);

// The composition of a text page over the rows of `band`: every inked
// pixel takes its ink's colour, as (page AND mask) XOR layer gives it with
// black glyphs on a white mask and coloured glyphs on a black layer. Rows
// without ink are passed over.
void ComposeText(Surface& page, const InkLayers& text, RowBand band);

}  // namespace pelmot
