#include "comforts/content_problem.h"

#include <algorithm>

#include "comforts/comfort_canvas.h"
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
  if (!text) return;
  const int bandHeight = std::min(game.form.Msg.fontPixels + 2 * kProblemPadding, height);
  // A long problem is cut at the right edge.
  TextOverBox(game, pixels, {0, height - bandHeight, width, bandHeight}, kProblemPadding, *text, kProblemText,
              [](Colour) { return kProblemBand; });
}

}  // namespace pelmot
