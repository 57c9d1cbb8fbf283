#include "shell/screen.h"

#include <algorithm>

#include "game/game.h"

namespace pelmot {
namespace {

// The control's pixels over rows top ... bottom - 1 of the client area.
void CopyClipped(const Surface& control, std::span<Colour> out, int outW, int top, int bottom) {
  const auto& pixels = control.ScreenPixels();
  const int w = control.Width(), h = control.Height();
  for (int y = std::max(top - control.top, 0); y < h && control.top + y < bottom; ++y) {
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
  ComposeClientAreaRows(game, out, 0, game.form.clientHeight);
}

void ComposeClientAreaRows(const Game& game, std::span<Colour> out, int top, int bottom) {
  const MainForm& f = game.form;
  if (out.size() != static_cast<std::size_t>(f.clientWidth) * f.clientHeight) return;
  top = std::max(top, 0);
  bottom = std::min(bottom, f.clientHeight);
  if (bottom <= top) return;
  // Black shows only where MainPic leaves the client area uncovered.
  const bool covered = f.MainPic.visible && f.MainPic.left <= 0 && f.MainPic.top <= 0 &&
                       f.MainPic.left + f.MainPic.Width() >= f.clientWidth &&
                       f.MainPic.top + f.MainPic.Height() >= f.clientHeight;
  const auto width = static_cast<std::size_t>(f.clientWidth);
  if (!covered) std::fill(out.begin() + top * width, out.begin() + bottom * width, kBlack);
  if (f.MainPic.visible) CopyClipped(f.MainPic, out, f.clientWidth, top, bottom);
  if (f.SkipB.visible) CopyClipped(f.SkipB, out, f.clientWidth, top, bottom);
}

}  // namespace pelmot
