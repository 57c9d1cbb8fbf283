#include "flow/input.h"

#include <ostream>

#include "flow/mode_units.h"
#include "flow/pick.h"
#include "flow/picture_only_view.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "game/screen_geometry.h"
#include "present/system_pictures.h"
#include "shell/display_mode.h"

namespace pelmot {
namespace {

void Trace(Game& game, const char* handler, int a, int b, int x = -1, int y = -1) {
  if (!game.trace) return;
  *game.trace << handler << " " << a << " " << b;
  if (x >= 0) *game.trace << " " << x << " " << y;
  *game.trace << std::endl;
}

bool Inside(const Surface& control, int x, int y) {
  return x >= control.left && y >= control.top && x < control.left + control.Width() &&
         y < control.top + control.Height();
}

}  // namespace

// The rules every mode shares stay here: a press stops skipping, and
// advances or picks only when the state allows; the mode says what it does.
void Form_MouseDown(Game& game, int button, int /*shift*/, int /*x*/, int /*y*/) {
  // Events queued before this press have already run: the loop handles them
  // strictly in arrival order, which is what yielding once achieved.
  game.form.SkipTimer.enabled = false;
  if (!game.state.ClickAdvances) return;
  if (button == kLeftButton)
    CurrentMode(game).WindowPress(game, PointerButton::Left);
  else if (button == kRightButton)
    CurrentMode(game).WindowPress(game, PointerButton::Right);
}

void MainPic_MouseDown(Game& game, int button, int /*shift*/, int x, int y) {
  const bool clickAdvances = game.state.ClickAdvances;
  if (button == kLeftButton && !clickAdvances)
    PickAt(game, x, y);
  else if (button == kRightButton && clickAdvances)
    CurrentMode(game).PictureRightPress(game);
}

void SkipB_MouseDown(Game& game, int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {
  if (!game.state.ClickAdvances) return;
  game.form.SkipB.visible = false;
  game.form.SkipTimer.enabled = true;
}

void Form_KeyDown(Game& game, int keyCode, int shift) {
  Trace(game, "Form_KeyDown", keyCode, shift);
  GameState& s = game.state;
  switch (keyCode) {
    // In the picture-only view an advance would run the menu's pick step
    // with a pick the player never made: Enter leaves the view as a left
    // click does, and Shift does not skip.
    case kKeyShift:
      if (s.ClickAdvances && !InPictureOnlyView(game)) game.form.SkipTimer.enabled = true;
      break;
    case kKeyEnter:
      if (InPictureOnlyView(game))
        LeavePictureOnlyView(game);
      else if (!game.form.SkipTimer.enabled && s.ClickAdvances)
        Advance(game);
      break;
    case kKeyF1: ToggleResolution(game); break;
    default: break;
  }
}

void Form_KeyUp(Game& game, int keyCode, int shift) {
  Trace(game, "Form_KeyUp", keyCode, shift);
  if (keyCode == kKeyShift) game.form.SkipTimer.enabled = false;
}

void SkipTimer_Timer(Game& game) {
  if (InPictureOnlyView(game)) {
    game.form.SkipTimer.enabled = false;
    return;
  }
  Advance(game);
}

void Form_MouseMove(Game& game, int /*button*/, int /*shift*/, int x, int y) {
  Surface& skip = game.form.SkipB;
  const bool inStrip = InSkipStrip(x, y);
  if (inStrip && CurrentMode(game).OffersSkipButton() && !game.form.SkipTimer.enabled && !skip.visible) {
    PaintSkipButtonOnce(game);
    skip.visible = true;
  } else if (!inStrip && skip.visible)
    skip.visible = false;
}

void MainPic_MouseMove(Game& game, int /*button*/, int /*shift*/, int x, int y) { CurrentMode(game).Hover(game, x, y); }

void RouteMouseDown(Game& game, int button, int shift, int x, int y) {
  const MainForm& f = game.form;
  if (f.SkipB.visible && Inside(f.SkipB, x, y)) {
    Trace(game, "SkipB_MouseDown", button, shift, x - f.SkipB.left, y - f.SkipB.top);
    SkipB_MouseDown(game, button, shift, x - f.SkipB.left, y - f.SkipB.top);
  } else if (f.MainPic.enabled && f.MainPic.visible && Inside(f.MainPic, x, y)) {
    Trace(game, "MainPic_MouseDown", button, shift, x - f.MainPic.left, y - f.MainPic.top);
    MainPic_MouseDown(game, button, shift, x - f.MainPic.left, y - f.MainPic.top);
  } else {
    Trace(game, "Form_MouseDown", button, shift, x, y);
    Form_MouseDown(game, button, shift, x, y);
  }
}

void RouteMouseMove(Game& game, int button, int shift, int x, int y) {
  const MainForm& f = game.form;
  if (f.SkipB.visible && Inside(f.SkipB, x, y)) return;  // the button has no move handler
  if (f.MainPic.enabled && f.MainPic.visible && Inside(f.MainPic, x, y))
    MainPic_MouseMove(game, button, shift, x - f.MainPic.left, y - f.MainPic.top);
  else
    Form_MouseMove(game, button, shift, x, y);
}

}  // namespace pelmot
