#include "comforts/typewriter.h"

#include <algorithm>

#include "comforts/comfort_state.h"
#include "flow/input.h"
#include "game/game.h"
#include "platform/utf8.h"
#include "present/text_layout.h"
#include "present/text_page.h"

namespace pelmot {
namespace {

Timer& TypewriterTimerOf(Game& game) { return game.form.timers[TimerName::Typewriter]; }

// Character k (from 1) is due this many milliseconds after the page showed.
int DueMs(int k, int speed) { return (k * 1000 + speed - 1) / speed; }

// The page is on screen as it was shown: no other page, and the game in
// the same mode (a menu, or the picture alone without the window, is
// another).
bool StillOnScreen(const Game& game, const Typewriter& t) {
  return t.drawing && t.line == game.linesShown && t.pageRevision == game.form.Msg.Revision() &&
         t.flowMode == game.state.FlowMode;
}

void Stop(Game& game, Typewriter& t) {
  t.drawing = false;
  t.under = {};
  TypewriterTimerOf(game).enabled = false;
}

// The page is whole on screen: turning pages on their own counts from now.
void Finish(Game& game, ComfortState& c) {
  Stop(game, c.typewriter);
  AutoForwardPageDrawn(game, c);
}

bool OnSkipButton(const Game& game, const InputEvent& e) {
  const Surface& b = game.form.SkipB;
  return b.visible && e.x >= b.left && e.x < b.left + b.Width() && e.y >= b.top && e.y < b.top + b.Height();
}

bool Completes(const Game& game, const InputEvent& e) {
  using Kind = InputEvent::Kind;
  if (e.kind == Kind::kMouseDown) return e.button == kLeftButton && !OnSkipButton(game, e);
  return e.kind == Kind::kKeyDown && (e.key == kVkEnter || e.key == kVkSpace);
}

// The text layers of part of a page, as the text window draws them.
struct Layers {
  Surface mask;   // black glyphs on white
  Surface layer;  // coloured glyphs on black
  Layers(int width, int height) : mask(width, height), layer(width, height) {
    mask.FillRect(0, 0, width, height, kWhite);
  }
};

void DrawRow(Game& game, Layers& to, Point at, const std::u32string& row) {
  if (row.empty()) return;
  TextEngine& text = game.services.text;
  const MainForm& f = game.form;
  const std::string utf8 = EncodeUtf8(row);
  const int sx = at.x + kShadowOffset, sy = at.y + kShadowOffset;
  text.Draw(to.mask, sx, sy, utf8, kBlack, f.MsgInk.fontPixels);
  text.Draw(to.mask, at.x, at.y, utf8, kBlack, f.MsgInk.fontPixels);
  text.Draw(to.layer, sx, sy, utf8, kTextShadow, f.MsgInk.fontPixels);
  text.Draw(to.layer, at.x, at.y, utf8, kTextFace, f.MsgInk.fontPixels);
}

// The rows a page's drawing may touch from row `first` on: half a cell of
// margin above, and below as the text window counts it.
ScreenRect Band(const Game& game, const Typewriter& t, std::size_t first) {
  const Surface& page = game.form.Msg;
  const int cell = game.form.MsgInk.fontPixels;
  int left = page.Width(), top = page.Height(), bottom = 0;
  for (std::size_t i = first; i < t.rows.size(); ++i) {
    left = std::min(left, t.origins[i].x - cell);
    top = std::min(top, t.origins[i].y - cell / 2);
    bottom = std::max(bottom, t.origins[i].y + kShadowOffset + 2 * cell - cell / 2);
  }
  left = std::clamp(left, 0, page.Width());
  top = std::clamp(top, 0, page.Height());
  bottom = std::clamp(bottom, top, page.Height());
  return {left, top, page.Width() - left, bottom - top};
}

}  // namespace

void AskForPagesUnderText(Game& game, const Settings& settings) {
  game.pageUnderWanted = settings.textSpeed != kInstantText;
}

void TypewriterPageShown(Game& game, ComfortState& c, const ShownPage& page) {
  Typewriter& t = c.typewriter;
  Stop(game, t);
  const int speed = c.settings.textSpeed;
  AskForPagesUnderText(game, c.settings);
  const Surface& msg = game.form.Msg;
  if (speed == kInstantText || game.form.SkipTimer.enabled || page.rows.size() != page.rowOrigins.size() ||
      page.under.size() != msg.Image().size())
    return;
  t.rows.clear();
  t.total = 0;
  for (const std::string& row : page.rows) {
    t.rows.push_back(DecodeUtf8(row));
    t.total += static_cast<int>(t.rows.back().size());
  }
  if (t.total == 0) return;
  t.drawing = true;
  t.origins = page.rowOrigins;
  t.under = page.under;
  t.shown = 0;
  t.line = game.linesShown;
  t.pageRevision = msg.Revision();
  t.flowMode = game.state.FlowMode;
  game.form.timers.Restart(TimerName::Typewriter);
  TypewriterTimerOf(game).intervalMs = DueMs(1, speed);
}

bool TypewriterDrawing(const Game& game, const ComfortState& c) { return StillOnScreen(game, c.typewriter); }

void TypewriterTimer(Game& game, ComfortState& c) {
  Typewriter& t = c.typewriter;
  if (!StillOnScreen(game, t) || game.form.SkipTimer.enabled || ++t.shown >= t.total) {
    Finish(game, c);
    return;
  }
  const int speed = c.settings.textSpeed;
  TypewriterTimerOf(game).intervalMs = DueMs(t.shown + 1, speed) - DueMs(t.shown, speed);
}

bool TypewriterTakesEvent(Game& game, ComfortState& c, const InputEvent& e) {
  if (!StillOnScreen(game, c.typewriter) || !Completes(game, e)) return false;
  Finish(game, c);
  return true;
}

void TypewriterAfterEvent(Game& game, ComfortState& c) {
  Typewriter& t = c.typewriter;
  if (t.drawing && (game.form.SkipTimer.enabled || !StillOnScreen(game, t))) Finish(game, c);
}

void DrawTypewriterCover(Game& game, const ComfortState& c, std::span<Colour> pixels) {
  const Typewriter& t = c.typewriter;
  const Surface& page = game.form.Msg;
  if (!StillOnScreen(game, t) || game.form.SkipTimer.enabled || t.under.size() != page.Image().size()) return;
  // The first row not wholly drawn, and how much of it is.
  std::size_t first = 0;
  int drawn = t.shown;
  while (first < t.rows.size() && drawn >= static_cast<int>(t.rows[first].size()))
    drawn -= static_cast<int>(t.rows[first++].size());
  if (first == t.rows.size()) return;
  const ScreenRect band = Band(game, t, first);
  Layers whole(band.width, band.height), part(band.width, band.height);
  // The row above reaches into the band too; it is drawn in both alike.
  for (std::size_t i = first > 0 ? first - 1 : 0; i < t.rows.size(); ++i) {
    const Point at{t.origins[i].x - band.left, t.origins[i].y - band.top};
    DrawRow(game, whole, at, t.rows[i]);
    if (i < first) DrawRow(game, part, at, t.rows[i]);
    if (i == first) DrawRow(game, part, at, t.rows[i].substr(0, drawn));
  }
  // Only where characters still to come would show: there the page is
  // composed from what it was without them.
  const MainForm& f = game.form;
  const auto& wholeMask = whole.mask.Image();
  const auto& wholeLayer = whole.layer.Image();
  const auto& partMask = part.mask.Image();
  const auto& partLayer = part.layer.Image();
  for (int y = 0; y < band.height; ++y) {
    const int screenY = band.top + y + f.MainPic.top;
    if (screenY < 0 || screenY >= f.clientHeight) continue;
    for (int x = 0; x < band.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * band.width + x;
      const int screenX = band.left + x + f.MainPic.left;
      if (screenX < 0 || screenX >= f.clientWidth) continue;
      if (wholeMask[i] == partMask[i] && wholeLayer[i] == partLayer[i]) continue;
      const Colour under = t.under[static_cast<std::size_t>(band.top + y) * page.Width() + band.left + x];
      pixels[static_cast<std::size_t>(screenY) * f.clientWidth + screenX] = (under & partMask[i]) ^ partLayer[i];
    }
  }
}

}  // namespace pelmot
