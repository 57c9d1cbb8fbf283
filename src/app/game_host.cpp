#include "app/game_host.h"

#include <algorithm>

#include "app/live_reload.h"
#include "comforts/content_problem.h"
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

// The game's own handlers, last in line: they take whatever reaches them.
class GameHost::GameHandlers : public InputTaker {
 public:
  explicit GameHandlers(Game& game) : game_(game) {}
  bool Take(const InputEvent& e) override {
    using Kind = InputEvent::Kind;
    switch (e.kind) {
      case Kind::kMouseDown: RouteMouseDown(game_, e.button, e.shift, e.x, e.y); break;
      case Kind::kMouseMove: RouteMouseMove(game_, e.button, e.shift, e.x, e.y); break;
      case Kind::kKeyDown: Form_KeyDown(game_, HandlerKey(e.key), e.shift); break;
      case Kind::kKeyUp: Form_KeyUp(game_, HandlerKey(e.key), e.shift); break;
      case Kind::kCloseRequested: Form_QueryUnload(game_); break;
      case Kind::kMouseUp:         // no handler takes a release
      case Kind::kDialogAnswered:  // no box to answer
      case Kind::kWheel:           // the game's own handlers take no wheel
        break;
    }
    return true;
  }

 private:
  Game& game_;
};

GameHost::GameHost(Game& game, DialogQueue* boxes, TimedDrawing* movie)
    : game_(game), boxes_(boxes), movie_(movie), comforts_(game), handlers_(std::make_unique<GameHandlers>(game)) {
  if (boxes_) takers_.Add(*boxes_);
  for (InputTaker* taker : comforts_.Takers()) takers_.Add(*taker);
  takers_.Add(*handlers_);
}

GameHost::~GameHost() = default;

void GameHost::Begin() { comforts_.Begin(); }

bool GameHost::BoxOpen() const { return boxes_ && boxes_->Open(); }

std::optional<std::string> GameHost::OpenBoxText() const {
  if (!BoxOpen()) return std::nullopt;
  return boxes_->FrontText();
}

bool GameHost::Finished() const { return game_.quitRequested && !BoxOpen(); }

namespace {

// Shift and Ctrl, held to skip, repeat many times a second; what they do
// is drawn in the game's surfaces, or is nothing where skipping stopped.
bool SkipKey(const InputEvent& e) {
  return (e.kind == InputEvent::Kind::kKeyDown || e.kind == InputEvent::Kind::kKeyUp) &&
         (e.key == kVkShift || e.key == kVkControl);
}

}  // namespace

void GameHost::OnEvent(const InputEvent& event) {
  comforts_.EventEnds();  // whatever ran outside the events ends here
  const bool boxBefore = BoxOpen();
  const InputTaker* taker = takers_.Deliver(event);
  if (taker == handlers_.get()) comforts_.AfterEvent();
  comforts_.EventEnds();
  ReportLateWriteFailure(game_);
  AfterEvent(game_);
  // A box or a comfort draws from state of its own, not from surfaces.
  if (boxBefore || BoxOpen() || (taker != handlers_.get() && !SkipKey(event))) ++overlays_;
}

void GameHost::FireTimer(TimerName name) {
  if (!game_.form.timers[name].enabled || takers_.HoldsTimers()) return;
  comforts_.EventEnds();
  if (name != TimerName::Skip) ++overlays_;  // the comforts' timers
  switch (name) {
    case TimerName::Skip: SkipTimer_Timer(game_); break;
    case TimerName::Typewriter: comforts_.TypewriterTimer(); break;
    case TimerName::AutoForward: comforts_.AutoForwardTimer(); break;
    case TimerName::CornerLine: comforts_.CornerLineTimer(); break;
  }
  comforts_.AfterEvent();
  comforts_.EventEnds();
  AfterEvent(game_);
}

// Each due timer fires once a frame at most; a box keeps them waiting, as
// the game takes nothing while one is open, and so does a comfort's screen.
bool GameHost::OnFrame(std::int64_t nowMs) {
  bool changed = false;
  if (!Finished() && ReportLateWriteFailure(game_)) {
    changed = true;
    ++overlays_;
  }
  Timers& timers = game_.form.timers;
  if (!BoxOpen()) timers.Schedule(nowMs);
  for (TimerName name : kAllTimers) {
    if (Finished() || takers_.HoldsTimers() || !timers.IsDue(name, nowMs)) continue;
    FireTimer(name);
    timers.Fired(name, nowMs);
    changed = true;
  }
  if (!Finished() && movie_ && movie_->DrawDue()) changed = true;
  if (!Finished() && contentWatch_ && !BoxOpen() && !takers_.HoldsTimers()) {
    if (const ContentChanges edits = contentWatch_->Take(); edits.Any() && ReloadContent(*this, edits)) {
      changed = true;
      ++overlays_;
    }
  }
  return changed;
}

std::optional<std::int64_t> GameHost::MillisToNextWork(std::int64_t nowMs) {
  std::optional<std::int64_t> next;
  if (!takers_.HoldsTimers()) {
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
  comforts_.DrawOver(pixels);
  DrawContentProblem(game_, pixels);
  if (BoxOpen()) boxes_->DrawOver(pixels);
  // Read last: drawing the overlays may itself use surfaces of its own.
  composed_ = CurrentPicture();
}

GameHost::PictureKey GameHost::CurrentPicture() const {
  const MainForm& f = game_.form;
  const ComfortState& c = comforts_.State();
  PictureKey key;
  key.surfaces = Surface::LatestRevision();
  key.mainLeft = f.MainPic.left;
  key.mainTop = f.MainPic.top;
  key.skipLeft = f.SkipB.left;
  key.skipTop = f.SkipB.top;
  key.clientWidth = f.clientWidth;
  key.clientHeight = f.clientHeight;
  key.mainShown = f.MainPic.visible;
  key.skipShown = f.SkipB.visible;
  key.skipping = f.SkipTimer.enabled;
  key.autoForward = c.autoForward.on;
  key.typed = c.typewriter.shown;
  key.cornerLine = c.cornerLine.text;
  key.overlays = overlays_;
  return key;
}

bool GameHost::PictureChanged() const { return !composed_ || !(CurrentPicture() == *composed_); }

}  // namespace pelmot
