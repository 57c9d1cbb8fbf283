#include "shell/screen.h"

#include <algorithm>

#include "game/game.h"

namespace pelmot {
namespace {

void CopyClipped(const Surface& control, std::span<Colour> out, int outW, int outH) {
  const auto& pixels = control.ScreenPixels();
  const int w = control.Width(), h = control.Height();
  for (int y = std::max(0, -control.top); y < h && control.top + y < outH; ++y) {
    const int x0 = std::max(0, -control.left);
    const int x1 = std::min(w, outW - control.left);
    if (x1 <= x0) continue;
    std::copy(pixels.begin() + y * w + x0, pixels.begin() + y * w + x1,
              out.begin() + (control.top + y) * outW + control.left + x0);
  }
}

}  // namespace

void AfterEvent(Game& game) { game.form.MainPic.PresentIfChanged(); }

void ComposeClientArea(const Game& game, std::span<Colour> out) {
  const MainForm& f = game.form;
  if (out.size() != static_cast<std::size_t>(f.clientWidth) * f.clientHeight) return;
  // Black shows only where MainPic leaves the client area uncovered.
  const bool covered = f.MainPic.visible && f.MainPic.left <= 0 && f.MainPic.top <= 0 &&
                       f.MainPic.left + f.MainPic.Width() >= f.clientWidth &&
                       f.MainPic.top + f.MainPic.Height() >= f.clientHeight;
  if (!covered) std::fill(out.begin(), out.end(), kBlack);
  if (f.MainPic.visible) CopyClipped(f.MainPic, out, f.clientWidth, f.clientHeight);
  if (f.SkipB.visible) CopyClipped(f.SkipB, out, f.clientWidth, f.clientHeight);
}

}  // namespace pelmot
