#include "app/game_host.h"

#include <algorithm>

#include "comforts/comforts.h"
#include "comforts/corner_line.h"
#include "flow/input.h"
#include "game/dialog_queue.h"
#include "game/game.h"
#include "persist/data_files.h"
#include "shell/screen.h"
#include "shell/shutdown.h"

namespace pelmot {
namespace {

// The handlers know Enter, Shift and F1; any other key reaches them as 0.
int HandlerKey(int key) { return key == kVkEnter || key == kVkShift || key == kVkF1 ? key : 0; }

}  // namespace

GameHost::GameHost(Game& game, DialogQueue* boxes, TimedDrawing* movie)
    : game_(game), boxes_(boxes), movie_(movie) {
  ComfortsBegin(game_);
}

bool GameHost::BoxOpen() const { return boxes_ && boxes_->Open(); }

bool GameHost::Finished() const { return game_.quitRequested && !BoxOpen(); }

void GameHost::OnEvent(const InputEvent& event) {
  if (BoxOpen()) boxes_->OnEvent(event);
  else ToHandlers(event);
  ReportLateWriteFailure(game_);
  AfterEvent(game_);
}

void GameHost::ToHandlers(const InputEvent& e) {
  if (ComfortsTakeEvent(game_, e)) return;
  ToGameHandlers(e);
  ComfortsAfterEvent(game_);
}

void GameHost::ToGameHandlers(const InputEvent& e) {
  using Kind = InputEvent::Kind;
  switch (e.kind) {
    case Kind::kMouseDown:
      RouteMouseDown(game_, e.button, e.shift, e.x, e.y);
      break;
    case Kind::kMouseMove:
      RouteMouseMove(game_, e.button, e.shift, e.x, e.y);
      break;
    case Kind::kKeyDown:
      Form_KeyDown(game_, HandlerKey(e.key), e.shift);
      break;
    case Kind::kKeyUp:
      Form_KeyUp(game_, HandlerKey(e.key), e.shift);
      break;
    case Kind::kCloseRequested:
      Form_QueryUnload(game_);
      break;
    case Kind::kMouseUp:         // no handler takes a release
    case Kind::kDialogAnswered:  // no box to answer
    case Kind::kWheel:           // the game's own handlers take no wheel
      break;
  }
}

void GameHost::FireTimer(TimerName name) {
  if (!game_.form.timers[name].enabled || ComfortsHoldTimers(game_)) return;
  switch (name) {
    case TimerName::Skip:
      SkipTimer_Timer(game_);
      break;
    case TimerName::AutoForward:
      ComfortsAutoForwardTimer(game_);
      break;
    case TimerName::CornerLine:
      HideCornerLine(game_);
      break;
  }
  ComfortsAfterEvent(game_);
  AfterEvent(game_);
}

// Each due timer fires once a frame at most; a box keeps them waiting, as
// the game takes nothing while one is open, and so does a comfort's screen.
bool GameHost::OnFrame(std::int64_t nowMs) {
  bool changed = false;
  if (!Finished() && ReportLateWriteFailure(game_)) changed = true;
  Timers& timers = game_.form.timers;
  if (!BoxOpen()) timers.Schedule(nowMs);
  for (TimerName name : kAllTimers) {
    if (Finished() || BoxOpen() || ComfortsHoldTimers(game_) || !timers.IsDue(name, nowMs)) continue;
    FireTimer(name);
    timers.Fired(name, nowMs);
    changed = true;
  }
  if (!Finished() && movie_ && movie_->DrawDue()) changed = true;
  return changed;
}

std::optional<std::int64_t> GameHost::MillisToNextWork(std::int64_t nowMs) {
  std::optional<std::int64_t> next;
  if (!BoxOpen() && !ComfortsHoldTimers(game_)) {
    game_.form.timers.Schedule(nowMs);
    next = game_.form.timers.MillisToNextDue(nowMs);
  }
  if (movie_) {
    if (auto drawing = movie_->MillisToNextDrawing()) next = next ? std::min(*next, *drawing) : *drawing;
  }
  return next;
}

void GameHost::Compose(std::span<Colour> pixels) {
  ComposeClientArea(game_, pixels);
  ComfortsDrawOver(game_, pixels);
  if (BoxOpen()) boxes_->DrawOver(pixels);
}

}  // namespace pelmot
