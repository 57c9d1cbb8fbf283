#include "comforts/comforts.h"

#include <utility>

#include "comforts/comfort_state.h"
#include "comforts/corner_line.h"
#include "comforts/keyboard.h"
#include "comforts/quick_save.h"
#include "flow/input.h"
#include "game/game.h"
#include "game/run_flow.h"

namespace pelmot {
namespace {

// Keys that switch something act on their first key-down only: a held
// key's repeats and its release are taken without acting.
bool RepeatOrRelease(const InputEvent& e, int key, bool& held) {
  if (e.key != key) return false;
  if (e.kind == InputEvent::Kind::kKeyUp) {
    held = false;
    return true;
  }
  if (e.kind != InputEvent::Kind::kKeyDown) return false;
  return std::exchange(held, true);
}

// Skipping only what was read: an unread line stops it where it shows.
void SkipPageShown(Game& game, ComfortState& c) {
  const auto key = CurrentLineKey(game);
  if (!key) return;
  if (c.settings.skipMode == SkipMode::ReadOnly && game.form.SkipTimer.enabled && !c.read.Has(*key)) {
    game.form.SkipTimer.enabled = false;
    c.heldSkipStopped = c.shiftHeld || c.ctrlHeld;
  }
}

void RecordRead(const Game& game, ComfortState& c, const ShownPage& page) {
  const auto key = CurrentLineKey(game);
  if (key && page.lineEnds && c.read.Add(*key) && c.readRecordWritable) c.readRecordDue = true;
}

void PageShown(Game& game, const ShownPage& page) {
  ComfortState& c = Comforts(game);
  if (game.state.FlowMode == kModeScene) c.backlog.Add(page, game.playsBegun);
  SkipPageShown(game, c);
  RecordRead(game, c, page);
  AutoForwardPageShown(game, c, page);
}

void LoadFiles(Game& game, ComfortState& c) {
  c.settings = LoadSettings(game);
  c.read = LoadReadRecord(game, c.readRecordWritable);
}

// Shift and Ctrl: Ctrl skips as Shift does; after skipping stopped at an
// unread line, a held key's repeats wait for its release.
bool TakeSkipKeys(Game& game, ComfortState& c, const InputEvent& e) {
  const bool shift = e.key == kVkShift, ctrl = e.key == kVkControl;
  if (!shift && !ctrl) return false;
  if (e.kind == InputEvent::Kind::kKeyUp) {
    (shift ? c.shiftHeld : c.ctrlHeld) = false;
    if (!c.shiftHeld && !c.ctrlHeld) c.heldSkipStopped = false;
    if (ctrl) Form_KeyUp(game, kKeyShift, 0);
    return ctrl;
  }
  if (e.kind != InputEvent::Kind::kKeyDown) return false;
  (shift ? c.shiftHeld : c.ctrlHeld) = true;
  if (c.heldSkipStopped) return true;
  if (ctrl) Form_KeyDown(game, kKeyShift, 0);
  return ctrl;
}

// Keys and the wheel say whether Ctrl is down: one held without its release
// ever arriving (the window lost the focus) stops keeping skipping going.
void NoteCtrlState(ComfortState& c, const InputEvent& e) {
  using Kind = InputEvent::Kind;
  const bool saysCtrl = e.kind == Kind::kKeyDown || e.kind == Kind::kKeyUp || e.kind == Kind::kWheel;
  if (!c.ctrlHeld || !saysCtrl || e.ctrl || e.key == kVkControl) return;
  c.ctrlHeld = false;
  if (!c.shiftHeld) c.heldSkipStopped = false;
}

}  // namespace

ComfortState& Comforts(Game& game) {
  if (!game.comforts) {
    game.comforts = std::make_shared<ComfortState>();
    game.pageShown = [&game](const ShownPage& page) { PageShown(game, page); };
    if (!game.state.WinDir.empty()) LoadFiles(game, *game.comforts);
  }
  return *game.comforts;
}

void ComfortsBegin(Game& game) {
  if (game.state.WinDir.empty()) return;  // not started: nothing to read yet
  ApplyWindowSettings(game, Comforts(game).settings);
}

bool ComfortsTakeEvent(Game& game, const InputEvent& e) {
  using Kind = InputEvent::Kind;
  ComfortState& c = Comforts(game);
  NoteCtrlState(c, e);
  if (RepeatOrRelease(e, kVkF2, c.settingsKeyHeld) || RepeatOrRelease(e, kVkA, c.autoKeyHeld)) return true;
  if (SettingsScreenTakeEvent(game, c, e)) return true;
  if (BacklogTakeEvent(game, c.backlog, e)) return true;
  if (e.kind == Kind::kMouseDown) StopAutoForward(game, c);
  if (e.kind == Kind::kKeyDown && e.key == kVkF2) {
    OpenSettingsScreen(game, c);
    return true;
  }
  if (e.kind == Kind::kKeyDown && e.key == kVkA) {
    ToggleAutoForward(game, c);
    return true;
  }
  if (TakeSkipKeys(game, c, e)) return true;
  if (QuickSaveTakesEvent(game, e)) return true;
  return KeyboardTakesEvent(game, e);
}

void ComfortsAfterEvent(Game& game) {
  if (!game.comforts) return;
  ComfortState& c = *game.comforts;
  AutoForwardAfterEvent(game, c);
  if (c.readRecordDue && (!game.form.SkipTimer.enabled || game.quitRequested)) {
    SaveReadRecordLater(game, c.read);
    c.readRecordDue = false;
  }
  // A held Ctrl keeps skipping going, as the window's repeats do for Shift.
  if (c.ctrlHeld && !c.heldSkipStopped && !game.form.SkipTimer.enabled && !ComfortsHoldTimers(game))
    Form_KeyDown(game, kKeyShift, 0);
}

bool ComfortsHoldTimers(const Game& game) {
  const ComfortState* c = game.comforts.get();
  return c && (c->backlog.open || c->settingsScreen.open);
}

void ComfortsAutoForwardTimer(Game& game) { AutoForwardTimer(game, Comforts(game)); }

void ComfortsDrawOver(Game& game, std::span<Colour> pixels) {
  if (pixels.size() != static_cast<std::size_t>(game.form.clientWidth) * game.form.clientHeight) return;
  if (const ComfortState* c = game.comforts.get()) {
    if (c->settingsScreen.open) DrawSettingsScreen(game, *c, pixels);
    else if (c->backlog.open) DrawBacklog(game, c->backlog, pixels);
    else if (c->autoForward.on) DrawAutoForwardMark(game, pixels);
  }
  DrawCornerLine(game, pixels);
}

}  // namespace pelmot
