#include "comforts/corner_line.h"

#include <algorithm>

#include "comforts/comfort_canvas.h"
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
  if (!text) return;
  const int size = game.form.Msg.fontPixels;
  const int boxWidth = std::min(game.services.text.Width(*text, size) + 2 * kCornerLinePadding,
                                game.form.clientWidth - kCornerLineOrigin.x);
  const int boxHeight = std::min(size + 2 * kCornerLinePadding, game.form.clientHeight - kCornerLineOrigin.y);
  TextOverBox(game, pixels, {kCornerLineOrigin.x, kCornerLineOrigin.y, boxWidth, boxHeight}, kCornerLinePadding, *text,
              kCornerLineText, Darkened);
}

}  // namespace pelmot
