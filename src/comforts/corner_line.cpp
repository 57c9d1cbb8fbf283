#include "comforts/corner_line.h"

#include <algorithm>

#include "comforts/comfort_geometry.h"
#include "game/game.h"

namespace pelmot {

namespace {

constexpr Colour kCornerLineText = Rgb(240, 240, 240);

// Half as bright, channel by channel.
Colour Darkened(Colour c) { return (c >> 1) & 0x7F7F7F; }

}  // namespace

void ShowCornerLine(Game& game, CornerLine& line, const std::string& text) {
  line.text = text;
  game.form.timers[TimerName::CornerLine].intervalMs = kCornerLineShowsMs;
  game.form.timers.Restart(TimerName::CornerLine);
}

void HideCornerLine(Game& game, CornerLine& line) {
  line.text.clear();
  game.form.timers[TimerName::CornerLine].enabled = false;
}

std::optional<std::string> CornerLineText(const CornerLine& line) {
  if (line.text.empty()) return std::nullopt;
  return line.text;
}

void DrawCornerLine(Game& game, const CornerLine& line, std::span<Colour> pixels) {
  const auto text = CornerLineText(line);
  const int width = game.form.clientWidth, height = game.form.clientHeight;
  if (!text || pixels.size() < static_cast<std::size_t>(width) * height) return;
  const int size = game.form.Msg.fontPixels;
  const int boxWidth =
      std::min(game.services.text.Width(*text, size) + 2 * kCornerLinePadding, width - kCornerLineOrigin.x);
  const int boxHeight = std::min(size + 2 * kCornerLinePadding, height - kCornerLineOrigin.y);
  if (boxWidth <= 0 || boxHeight <= 0) return;
  // The text drawn alone, light on black, then laid over the darkened box.
  Surface glyphs(boxWidth, boxHeight);
  glyphs.SetPersistent(true);
  game.services.text.Draw(glyphs, kCornerLinePadding, kCornerLinePadding, *text, kCornerLineText, size);
  const std::vector<Colour>& drawn = glyphs.Image();
  for (int y = 0; y < boxHeight; ++y) {
    for (int x = 0; x < boxWidth; ++x) {
      Colour& out = pixels[static_cast<std::size_t>(kCornerLineOrigin.y + y) * width + kCornerLineOrigin.x + x];
      const Colour glyph = drawn[static_cast<std::size_t>(y) * boxWidth + x];
      out = glyph != kBlack ? glyph : Darkened(out);
    }
  }
}

}  // namespace pelmot
