#include "comforts/comforts.h"

#include <ostream>
#include "present/shown_language.h"

#include <ostream>

#include "comforts/quick_save.h"
#include "flow/input.h"
#include "flow/picture_only_view.h"
#include "game/game.h"
#include "game/run_flow.h"

namespace pelmot {
namespace {

using Kind = InputEvent::Kind;

bool IsKeyDown(const InputEvent& e, int key) { return e.kind == Kind::kKeyDown && e.key == key; }

// The keys that switch something (F2, A, F5, F9) act on a fresh press
// only: a held key's repeats and its release are taken without acting.
bool RepeatOrReleaseOfSwitch(const InputEvent& e) {
  const bool aSwitch = e.key == kVkF2 || e.key == kVkA || e.key == kVkF5 || e.key == kVkF9;
  return aSwitch && (e.kind == Kind::kKeyUp || (e.kind == Kind::kKeyDown && e.repeat));
}

// Skipping only what was read: an unread line stops it where it shows.
void SkipPageShown(Game& game, ComfortState& c) {
  const auto key = CurrentLineKey(game);
  if (!key) return;
  if (c.settings.skipMode == SkipMode::ReadOnly && game.form.SkipTimer.enabled && !c.read.Has(*key)) {
    game.form.SkipTimer.enabled = false;
    c.skipStoppedAtUnread = true;
  }
}

void RecordRead(const Game& game, ComfortState& c, const ShownPage& page) {
  const auto key = CurrentLineKey(game);
  if (key && page.lineEnds && c.read.Add(*key) && c.readRecordWritable) c.readRecordDue = true;
}

// Shift and Ctrl: Ctrl skips as Shift does. After skipping stopped at an
// unread line, a held key's repeats do nothing until it is pressed anew.
bool TakeSkipKeys(Game& game, ComfortState& c, const InputEvent& e) {
  const bool shift = e.key == kVkShift, ctrl = e.key == kVkControl;
  if (!shift && !ctrl) return false;
  if (e.kind == Kind::kKeyUp) {
    if (ctrl) Form_KeyUp(game, kKeyShift, 0);
    return ctrl;
  }
  if (e.kind != Kind::kKeyDown) return false;
  if (e.repeat && c.skipStoppedAtUnread) return true;
  if (!e.repeat) c.skipStoppedAtUnread = false;
  if (ctrl) Form_KeyDown(game, kKeyShift, 0);
  return ctrl;
}

// Home: the last choice before the line on screen, its options shown again
// and the values as they were before the pick.
void BackToPreviousChoice(Game& game, ComfortState& c) {
  if (!InScenePlay(game) || InPictureOnlyView(game)) return;
  const auto choice = c.history.ChoiceBefore();
  if (!choice) return;
  StopAutoForward(game, c);
  game.form.StopSkipping();
  c.history.GoBackTo(game, *choice);
}

// End: skipping as the skip button skips, on through the ends of scenes;
// it stops at the next choice, a menu, the story's end, or an unread line
// when only read lines are skipped.
void SkipToNextChoice(Game& game, ComfortState& c) {
  if (!InScenePlay(game) || InPictureOnlyView(game) || !game.state.ClickAdvances) return;
  c.skipToChoice = true;
  c.skipStoppedAtUnread = false;
  game.form.SkipTimer.enabled = true;
}

void KeepSkippingToChoice(Game& game, ComfortState& c) {
  if (!c.skipToChoice) return;
  if (game.state.FlowMode != kModeScene || ChoiceWaits(game) || c.skipStoppedAtUnread || InPictureOnlyView(game) ||
      game.quitRequested)
    c.skipToChoice = false;
  else
    game.form.SkipTimer.enabled = true;
}

}  // namespace

// A comfort that takes events through one function, and may hold the
// game's timers while it is up: the settings screen, the route chart, the
// history and the page being drawn.
class Comforts::ScreenTaker : public InputTaker {
 public:
  using TakeFunction = bool (*)(Game&, ComfortState&, const InputEvent&);
  using UpFunction = bool (*)(const ComfortState&);
  ScreenTaker(Comforts& comforts, TakeFunction take, UpFunction up) : c_(comforts), take_(take), up_(up) {}
  bool Take(const InputEvent& e) override { return take_(c_.game_, c_.State(), e); }
  bool HoldsTimers() const override { return up_ && up_(c_.state_); }

 private:
  Comforts& c_;
  TakeFunction take_;
  UpFunction up_;
};

// The comforts' keys: F2 and A, the skip keys, F5 / F9 and the keyboard's
// way through menus; a press stops turning pages on their own.
class Comforts::KeysTaker : public InputTaker {
 public:
  explicit KeysTaker(Comforts& comforts) : c_(comforts) {}
  bool Take(const InputEvent& e) override {
    Game& game = c_.game_;
    ComfortState& c = c_.State();
    if (e.kind == Kind::kMouseDown) {
      StopAutoForward(game, c);
      c.skipToChoice = false;
    }
    SavePreviewSeesEvent(game, c.savePreview, e);
    if (AuthorOverlayTakesEvent(game, c, e)) return true;
    if (IsKeyDown(e, kVkF2)) {
      OpenSettingsScreen(game, c);
      return true;
    }
    if (IsKeyDown(e, kVkA)) {
      ToggleAutoForward(game, c);
      return true;
    }
    if (IsKeyDown(e, kVkV) && ToggleSpeech(game, c)) return true;
    if (e.kind == Kind::kKeyDown && e.key != kVkEnd) c.skipToChoice = false;
    if (IsKeyDown(e, kVkHome)) {
      if (game.trace) *game.trace << "Home" << std::endl;
      BackToPreviousChoice(game, c);
      return true;
    }
    if (IsKeyDown(e, kVkEnd)) {
      if (game.trace) *game.trace << "End" << std::endl;
      SkipToNextChoice(game, c);
      return true;
    }
    return TakeSkipKeys(game, c, e) || QuickSaveTakesEvent(game, c.cornerLine, e) ||
           KeyboardTakesEvent(game, c.keyboardFocus, e);
  }

 private:
  Comforts& c_;
};

Comforts::Comforts(Game& game)
    : game_(game),
      // The settings screen takes everything while it is open but key
      // releases and what only the game answers; the switches' repeats and
      // releases are taken here, before anything else sees them.
      settingsTaker_(std::make_unique<ScreenTaker>(
          *this,
          [](Game& game, ComfortState& c, const InputEvent& e) {
            return RepeatOrReleaseOfSwitch(e) || SettingsScreenTakeEvent(game, c, e);
          },
          [](const ComfortState& c) { return c.settingsScreen.open; })),
      // F3 opens the route chart, wheel up or PageUp the history; open, each
      // takes what the settings screen takes.
      chartTaker_(std::make_unique<ScreenTaker>(*this, RouteChartTakeEvent,
                                                [](const ComfortState& c) { return c.routeChart.open; })),
      backlogTaker_(
          std::make_unique<ScreenTaker>(*this, BacklogTakeEvent, [](const ComfortState& c) { return c.backlog.open; })),
      // While a page is drawn at the text speed, a click, Enter or Space
      // completes it before anything else sees them.
      typewriterTaker_(std::make_unique<ScreenTaker>(*this, TypewriterTakesEvent, nullptr)),
      keysTaker_(std::make_unique<KeysTaker>(*this)) {
  game_.pageShown = [this](const ShownPage& page) { PageShown(page); };
  game_.sceneStepStarts = [this] { state_.history.StepStarts(game_); };
}

Comforts::~Comforts() {
  game_.pageShown = nullptr;
  game_.sceneStepStarts = nullptr;
}

ComfortState& Comforts::State() {
  if (!filesRead_ && !game_.state.WinDir.empty()) {
    filesRead_ = true;
    state_.settings = LoadSettings(game_);
    state_.read = LoadReadRecord(game_, state_.readRecordWritable);
    state_.routes = LoadRouteRecord(game_, state_.routesWritable);
    AskForPagesUnderText(game_, state_.settings);
  }
  return state_;
}

void Comforts::Begin() {
  if (game_.state.WinDir.empty()) return;  // not started: nothing to read yet
  ComfortState& c = State();
  ApplyWindowSettings(game_, c.settings);
  LimitPictureCopies(game_, c.settings);
  BeginInLanguage(c);
}

// The language the command line asks for, else the one the settings
// remember; a remembered one no longer there plays the original.
void Comforts::BeginInLanguage(ComfortState& c) {
  LanguageState& l = c.language;
  Language(game_).bilingual = c.settings.bilingual;
  const std::string code = l.fromCommandLine.empty() ? c.settings.language : l.fromCommandLine;
  std::string problem;
  if (!code.empty() && !SwitchLanguage(game_, c, code, problem) && l.warnings)
    *l.warnings << "pelmot: warning: " << problem << "\n";
}

std::array<InputTaker*, 5> Comforts::Takers() {
  return {settingsTaker_.get(), chartTaker_.get(), backlogTaker_.get(), typewriterTaker_.get(), keysTaker_.get()};
}

void Comforts::PageShown(const ShownPage& page) {
  ComfortState& c = State();
  c.history.PageShown(game_, page);
  SkipPageShown(game_, c);
  RecordRead(game_, c, page);
  TypewriterPageShown(game_, c, page);
  AutoForwardPageShown(game_, c, page);
}

void Comforts::EventEnds() {
  ComfortState& c = State();
  c.history.EventEnds(game_);
  AuthorOverlayEventEnds(game_, c);
  RecordRoutes(game_, c);
  KeepSkippingToChoice(game_, c);
  ReadingAidsAfterEvent(game_, c);
}

void Comforts::AfterEvent() {
  ComfortState& c = State();
  TypewriterAfterEvent(game_, c);
  AutoForwardAfterEvent(game_, c);
  if (c.readRecordDue && (!game_.form.SkipTimer.enabled || game_.quitRequested)) {
    SaveReadRecordLater(game_, c.read);
    c.readRecordDue = false;
  }
}

void Comforts::TypewriterTimer() { pelmot::TypewriterTimer(game_, State()); }

void Comforts::AutoForwardTimer() { pelmot::AutoForwardTimer(game_, State()); }

void Comforts::CornerLineTimer() { HideCornerLine(game_, state_.cornerLine); }

void Comforts::DrawOver(std::span<Colour> pixels) {
  if (pixels.size() != static_cast<std::size_t>(game_.form.clientWidth) * game_.form.clientHeight) return;
  const ComfortState& c = state_;
  DrawTypewriterCover(game_, c, pixels);
  if (c.settingsScreen.open)
    DrawSettingsScreen(game_, c, pixels);
  else if (c.routeChart.open)
    DrawRouteChart(game_, c.routeChart, pixels);
  else if (c.backlog.open)
    DrawBacklog(game_, c.backlog, c.history, pixels);
  else if (c.autoForward.on)
    DrawAutoForwardMark(game_, pixels);
  else if (c.settings.savePreviews)
    DrawSavePreview(game_, state_.savePreview, c.keyboardFocus, pixels);
  DrawAuthorOverlay(game_, c, pixels);
  DrawCornerLine(game_, c.cornerLine, pixels);
}

}  // namespace pelmot
