// The block transfers of the page composition, bit for bit as
// Surface::BitBlt does them, but limited to the rows that can change and
// fused where two steps touch the same pixels. A page is rebuilt on every
// text line, so these run at every click.
#pragma once

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

// target = picture AND mask over the rectangle x, y, w, h (mask read from
// maskX, maskY), a plain copy of picture elsewhere. All three are pages of
// the same size; the result goes to target's drawing target.
void CopyDimmed(Surface& target, const Surface& picture, const Surface& mask, int x, int y, int w,
                int h, int maskX, int maskY);

// The composition of a text page over the rows of `band`:
// page = (page AND textMask) XOR textLayer. Outside the rows where text
// was drawn the mask is white and the layer black, so nothing changes there.
void ComposeText(Surface& page, const Surface& textMask, const Surface& textLayer, RowBand band);

}  // namespace pelmot
