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

// Only rows under a changed part of MainPic or the skip button are composed
// again. Where an overlay may draw, they are composed in a full-size scratch
// picture and drawn over there (overlays may darken what they cover, so
// they cannot be drawn twice over the same pixels), then copied out.
ClientRows GameHost::ComposeChanges(std::span<Colour> pixels, bool holdsLast) {
  const std::optional<ClientRows> rows = holdsLast ? RowsToComposeAgain() : std::nullopt;
  ClientRows composed{0, game_.form.clientHeight};
  if (!rows || (rows->top <= 0 && rows->bottom >= composed.bottom)) {
    Compose(pixels);
  } else if (!rows->Empty() && OverlaysDrawNothing()) {
    composed = *rows;
    ComposeClientAreaRows(game_, pixels, rows->top, rows->bottom);
    composed_ = CurrentPicture();
  } else if (!rows->Empty()) {
    composed = *rows;
    const auto width = static_cast<std::size_t>(game_.form.clientWidth);
    // Left uninitialised: only the pages of the rows composed are ever made.
    if (scratchSize_ != pixels.size()) {
      scratch_.reset(new Colour[pixels.size()]);
      scratchSize_ = pixels.size();
    }
    const std::span<Colour> scratch(scratch_.get(), scratchSize_);
    ComposeClientAreaRows(game_, scratch, rows->top, rows->bottom);
    comforts_.DrawOver(scratch);
    DrawContentProblem(game_, scratch);
    std::copy(scratch.begin() + rows->top * width, scratch.begin() + rows->bottom * width,
              pixels.begin() + rows->top * width);
    composed_ = CurrentPicture();
  } else {
    composed = {};
    composed_ = CurrentPicture();
  }
  const MainForm& f = game_.form;
  kept_ = KeptPicture{*composed_, f.MainPic.Revision(), f.SkipB.Revision(), f.CMenu.Revision()};
  f.MainPic.WatchRows();
  f.SkipB.WatchRows();
  return composed;
}

// The overlays draw from what the picture key holds, and from no surface
// but MainPic and the skip button: no box, no comfort's screen, no
// typewriter at work, no save preview's list that changed.
bool GameHost::OverlaysFollowTheirKey() const {
  const ComfortState& c = comforts_.State();
  return !BoxOpen() && !c.settingsScreen.open && !c.routeChart.open && !c.backlog.open && !c.author.open &&
         (!c.typewriter.drawing || game_.form.SkipTimer.enabled) && !ContentProblemText(game_) &&
         game_.form.CMenu.Revision() == kept_->menu;
}

// Where the overlays follow their key (above), the comforts' marks are all
// they could draw.
bool GameHost::OverlaysDrawNothing() const {
  const ComfortState& c = comforts_.State();
  return !c.autoForward.on && c.cornerLine.text.empty() && !c.settings.savePreviews;
}

// The rows that may differ from the picture ComposeChanges gave last;
// nothing where that is not known.
std::optional<ClientRows> GameHost::RowsToComposeAgain() const {
  if (!kept_ || !OverlaysFollowTheirKey()) return std::nullopt;
  PictureKey now = CurrentPicture();
  now.surfaces = kept_->key.surfaces;
  if (!(now == kept_->key)) return std::nullopt;
  const MainForm& f = game_.form;
  ClientRows rows;
  const std::pair<const Surface*, std::uint64_t> parts[] = {{&f.MainPic, kept_->mainPic}, {&f.SkipB, kept_->skipButton}};
  for (const auto& [surface, since] : parts) {
    int top = 0, bottom = 0;
    if (!surface->ChangedRowsSince(since, top, bottom)) return std::nullopt;
    if (surface->visible) rows.Cover(std::max(surface->top + top, 0), std::min(surface->top + bottom, f.clientHeight));
  }
  return rows;
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
  key.mainWidth = f.MainPic.Width();
  key.mainHeight = f.MainPic.Height();
  key.skipWidth = f.SkipB.Width();
  key.skipHeight = f.SkipB.Height();
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
