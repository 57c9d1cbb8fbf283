#include "comforts/content_problem.h"

#include <algorithm>

#include "game/game.h"

namespace pelmot {
namespace {

// A part of the game, made by the first reload that finds a problem.
struct ContentProblem {
  std::string text;  // empty: nothing shows
};

constexpr Colour kProblemText = Rgb(255, 224, 96);
constexpr Colour kProblemBand = Rgb(96, 0, 0);
constexpr int kProblemPadding = 4;

}  // namespace

void ShowContentProblem(Game& game, const std::string& problem) { game.parts.Get<ContentProblem>().text = problem; }

void ClearContentProblem(Game& game) {
  if (ContentProblem* shown = game.parts.Find<ContentProblem>()) shown->text.clear();
}

std::optional<std::string> ContentProblemText(const Game& game) {
  const ContentProblem* shown = game.parts.Find<ContentProblem>();
  if (!shown || shown->text.empty()) return std::nullopt;
  return shown->text;
}

void DrawContentProblem(Game& game, std::span<Colour> pixels) {
  const auto text = ContentProblemText(game);
  const int width = game.form.clientWidth, height = game.form.clientHeight;
  if (!text || pixels.size() < static_cast<std::size_t>(width) * height) return;
  const int size = game.form.Msg.fontPixels;
  const int bandHeight = std::min(size + 2 * kProblemPadding, height);
  const int top = height - bandHeight;
  // The text drawn alone, light on black, then laid over the band; a long
  // problem is cut at the right edge.
  Surface glyphs(width, bandHeight);
  glyphs.SetPersistent(true);
  game.services.text.Draw(glyphs, kProblemPadding, kProblemPadding, *text, kProblemText, size);
  const std::vector<Colour>& drawn = glyphs.Image();
  for (int y = 0; y < bandHeight; ++y) {
    for (int x = 0; x < width; ++x) {
      const Colour glyph = drawn[static_cast<std::size_t>(y) * width + x];
      pixels[static_cast<std::size_t>(top + y) * width + x] = glyph != kBlack ? glyph : kProblemBand;
    }
  }
}

}  // namespace pelmot
