#include "present/page_raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pelmot {
namespace {

// Four pixels at a time. Plain pixel loops stay scalar at the build's
// optimisation level; these blocks become vector operations, several times
// faster on a full page.
#if defined(__GNUC__)
using Block = std::uint32_t __attribute__((vector_size(16)));
#else
using Block = std::uint64_t;
#endif
constexpr int kBlockPixels = sizeof(Block) / sizeof(Colour);

Block Load(const Colour* p) {
  Block b;
  std::memcpy(&b, p, sizeof b);
  return b;
}
void Store(Colour* p, const Block& b) { std::memcpy(p, &b, sizeof b); }

void AndRow(Colour* to, const Colour* a, const Colour* b, int n) {
  int i = 0;
  for (; i + kBlockPixels <= n; i += kBlockPixels) Store(to + i, Load(a + i) & Load(b + i));
  for (; i < n; ++i) to[i] = a[i] & b[i];
}

template <class A, class B>
bool SameSize(const A& a, const B& b) {
  return a.Width() == b.Width() && a.Height() == b.Height();
}

// The dimmed area clipped to the page and to the mask.
struct Clipped {
  int x0, y0, x1, y1;
  bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Clipped Clip(const DimmedArea& d, const Surface& page, const Surface& mask) {
  return {std::max({d.x, 0, d.x - d.maskX}), std::max({d.y, 0, d.y - d.maskY}),
          std::min({d.x + d.w, page.Width(), d.x - d.maskX + mask.Width()}),
          std::min({d.y + d.h, page.Height(), d.y - d.maskY + mask.Height()})};
}

// One row of the picture into `out`, ANDed with the mask where dimmed.
void DimmedRow(Colour* out, const Colour* picture, int width, const Colour* maskRow, const Clipped& c) {
  if (!maskRow) {
    std::memcpy(out, picture, sizeof(Colour) * width);
    return;
  }
  std::memcpy(out, picture, sizeof(Colour) * c.x0);
  AndRow(out + c.x0, picture + c.x0, maskRow, c.x1 - c.x0);
  std::memcpy(out + c.x1, picture + c.x1, sizeof(Colour) * (width - c.x1));
}

// The same composition with the surfaces' own block transfers, for pages of
// unusual sizes.
void PaintFreshPageSlowly(const PageSurfaces& s, const DimmedArea& d, RowBand inked, Surface& shown) {
  const int w = s.page.Width(), h = s.page.Height();
  s.page.Clear();
  s.page.BitBlt(0, 0, w, h, s.picture, 0, 0, Rop::SrcCopy);
  s.page.BitBlt(d.x, d.y, d.w, d.h, s.mask, d.maskX, d.maskY, Rop::SrcAnd);
  ComposeText(s.page, s.text, inked);
  shown.BitBlt(0, 0, w, h, s.page, 0, 0, Rop::SrcCopy);
}

}  // namespace

void RowBand::Cover(int y, int height) {
  if (height <= 0) return;
  if (Empty()) {
    top = y;
    bottom = y + height;
    return;
  }
  top = std::min(top, y);
  bottom = std::max(bottom, y + height);
}

void PaintFreshPage(const PageSurfaces& s, const DimmedArea& dimmed, const FreshPageWork& work, Surface& shown) {
  if (!SameSize(s.page, s.picture) || !SameSize(s.page, s.text) || !SameSize(s.page, shown))
    return PaintFreshPageSlowly(s, dimmed, work.inked, shown);
  const int width = s.page.Width(), height = s.page.Height();
  const Clipped c = Clip(dimmed, s.page, s.mask);
  std::vector<Colour>& out = s.page.Target();
  std::vector<Colour>& view = work.copyAll ? shown.Target() : shown.TargetRows(work.rewrite.top, work.rewrite.bottom);
  auto inside = [](RowBand band, int y) { return y >= band.top && y < band.bottom; };
  for (int y = 0; y < height; ++y) {
    const std::size_t at = static_cast<std::size_t>(y) * width;
    const bool rewrite = inside(work.rewrite, y);
    if (rewrite) {
      const Colour* maskRow = nullptr;
      if (!c.Empty() && y >= c.y0 && y < c.y1)
        maskRow = &s.mask.Image()[static_cast<std::size_t>(y - dimmed.y + dimmed.maskY) * s.mask.Width() +
                                  (c.x0 - dimmed.x + dimmed.maskX)];
      DimmedRow(&out[at], &s.picture.Image()[at], width, maskRow, c);
      if (inside(work.inked, y)) s.text.ComposeInto({&out[at], static_cast<std::size_t>(width)}, width, {0, y, width, 1});
    }
    if (rewrite || work.copyAll) std::memcpy(&view[at], &out[at], sizeof(Colour) * width);
  }
}

void CopyRows(Surface& to, const Surface& from, RowBand rows) {
  if (!SameSize(to, from)) {
    to.BitBlt(0, 0, from.Width(), from.Height(), from, 0, 0, Rop::SrcCopy);
    return;
  }
  const int top = std::max(rows.top, 0), bottom = std::min(rows.bottom, to.Height());
  if (bottom <= top) return;
  const std::size_t at = static_cast<std::size_t>(top) * to.Width();
  std::memcpy(&to.TargetRows(top, bottom)[at], &from.Image()[at], sizeof(Colour) * (bottom - top) * to.Width());
}

void ComposeText(Surface& page, const InkLayers& text, RowBand band) {
  const int top = std::max(band.top, 0), bottom = std::min(band.bottom, page.Height());
  if (bottom <= top) return;
  const int width = page.Width();
  std::vector<Colour>& out = page.Target();
  const std::size_t at = static_cast<std::size_t>(top) * width;
  text.ComposeInto(std::span<Colour>(out).subspan(at), width, {0, top, std::min(width, text.Width()), bottom - top});
}

}  // namespace pelmot
