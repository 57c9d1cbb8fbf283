#include "comforts/auto_forward.h"

#include <algorithm>

#include "comforts/comfort_canvas.h"
#include "comforts/comfort_state.h"
#include "flow/input.h"
#include "flow/picture_only_view.h"
#include "game/game.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"

namespace pelmot {
namespace {

constexpr UiText kMark = UiText::auto_forward_mark;

Timer& AutoTimer(Game& game) { return game.form.timers[TimerName::AutoForward]; }

void Arm(Game& game, const ComfortState& comforts) {
  const Settings& s = comforts.settings;
  const long wait = s.autoBaseMs + static_cast<long>(s.autoPerCharMs) * comforts.autoForward.lastPageChars;
  AutoTimer(game) = {true, static_cast<int>(std::clamp(wait, 1L, 2L * kMaxAutoWaitMs))};
}

// Not while the page is still being drawn: its wait starts when it is whole.
bool MayAdvance(const Game& game, const ComfortState& comforts) {
  return game.state.ClickAdvances && !InPictureOnlyView(game) && !game.form.SkipTimer.enabled &&
         !TypewriterDrawing(game, comforts);
}

}  // namespace

void ToggleAutoForward(Game& game, ComfortState& comforts) {
  AutoForward& a = comforts.autoForward;
  if (a.on) {
    StopAutoForward(game, comforts);
    return;
  }
  a.on = true;
  a.skipStopsSeen = game.form.skipStops;
  if (MayAdvance(game, comforts)) Arm(game, comforts);
}

void StopAutoForward(Game& game, ComfortState& comforts) {
  comforts.autoForward.on = false;
  AutoTimer(game).enabled = false;
}

void AutoForwardPageShown(Game& game, ComfortState& comforts, const ShownPage& page) {
  int chars = 0;
  for (const std::string& row : page.rows) chars += static_cast<int>(DecodeUtf8(row).size());
  comforts.autoForward.lastPageChars = chars;
  if (comforts.autoForward.on && !TypewriterDrawing(game, comforts)) Arm(game, comforts);
}

void AutoForwardPageDrawn(Game& game, ComfortState& comforts) {
  if (comforts.autoForward.on && MayAdvance(game, comforts)) Arm(game, comforts);
}

void AutoForwardTimer(Game& game, ComfortState& comforts) {
  AutoTimer(game).enabled = false;  // each page arms it anew
  if (!comforts.autoForward.on || !MayAdvance(game, comforts)) return;
  Form_MouseDown(game, kLeftButton, 0, 0, 0);
  // A step that showed no text still waits before the next.
  if (comforts.autoForward.on && !AutoTimer(game).enabled && MayAdvance(game, comforts)) Arm(game, comforts);
}

void AutoForwardAfterEvent(Game& game, ComfortState& comforts) {
  AutoForward& a = comforts.autoForward;
  if (a.on && game.form.skipStops != a.skipStopsSeen) StopAutoForward(game, comforts);
  a.skipStopsSeen = game.form.skipStops;
}

void DrawAutoForwardMark(Game& game, std::span<Colour> pixels) {
  ComfortCanvas canvas(game, pixels, kComfortMarkArea);
  const int x = kComfortMarkArea.Right() - kComfortMarkMargin - canvas.TextWidth(Ui(kMark));
  canvas.ShadowedText(x, kComfortMarkArea.top + kPageTextInset, Ui(kMark));
}

}  // namespace pelmot
