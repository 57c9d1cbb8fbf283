#include "comforts/author_overlay.h"

#include <algorithm>

#include "comforts/comfort_canvas.h"
#include "comforts/comfort_state.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "scenes/scene_model.h"
#include "scenes/scene_table.h"
#include "scenes/text_ids.h"

namespace pelmot {
namespace {

constexpr int kOverlayRows = 5;
constexpr int kOverlayMargin = 8;
constexpr int kOverlayTextWidth = kScreenWidth - 2 * kOverlayMargin;

bool SamePick(const AuthorOverlay::Pick& a, const AuthorOverlay::Pick& b) {
  return a.entry == b.entry && a.scene == b.scene && a.step == b.step && a.row == b.row;
}

const Lane* LaneAt(const Game& game, int scene, int step, const SaveRecord& r) {
  const Story* story = PlayedStory(game);
  const SceneScript* script = story ? story->Find(scene) : nullptr;
  return script ? script->ServingLane(step, r.Condition, r.LastChoice) : nullptr;
}

// "12:p0:s33" as `warp` takes a place, or "12 p0 s33" as the scenario's
// headers write it (`separator` ' ').
std::string PlaceText(const Game& game, int scene, int step, const SaveRecord& r, char separator) {
  const Lane* lane = LaneAt(game, scene, step, r);
  const std::string laneName = lane ? lane->key.Name() : "";
  std::string text = std::to_string(scene) + separator;
  if (!laneName.empty()) text += laneName + separator;
  return text + "s" + std::to_string(step);
}

std::string CurrentPlace(const Game& game, char separator) {
  const GameState& s = game.state;
  return PlaceText(game, s.SceneNo, s.StepNo[kModeScene], s.SaveRecord, separator);
}

// The translation ID of the line the step shows; "-" for a step that shows none.
std::string LineIdOnScreen(const Game& game) {
  const GameState& s = game.state;
  const int step = s.StepNo[kModeScene];
  const Lane* lane = LaneAt(game, s.SceneNo, step, s.SaveRecord);
  const Step* shown = lane ? lane->At(step) : nullptr;
  if (!shown) return "-";
  const StepSlot slot = SlotOf(*shown);
  if (slot == StepSlot::Choice) return LineTextId(s.SceneNo, lane->key, step) + " (choice)";
  return slot == StepSlot::Line || slot == StepSlot::FixedLine ? LineTextId(s.SceneNo, lane->key, step) : "-";
}

std::string PlaceRow(const Game& game) {
  const GameState& s = game.state;
  const int step = s.StepNo[kModeScene];
  const Lane* lane = LaneAt(game, s.SceneNo, step, s.SaveRecord);
  const std::string laneName = lane && !lane->key.Name().empty() ? lane->key.Name() : "-";
  return "scene " + std::to_string(s.SceneNo) + "  lane " + laneName + "  step " + std::to_string(step) + "  line ID " +
         LineIdOnScreen(game);
}

std::string PictureRow(const Game& game) {
  const int picture = game.mainWorkPicture;
  if (picture == kNoPicture) return "picture: none";
  if (game.mainWorkIsBackground) return "picture " + std::to_string(picture) + " (a day background)";
  return "picture " + std::to_string(picture);
}

std::string ValuesRow(const Game& game) {
  const SaveRecord& r = game.state.SaveRecord;
  std::string row;
  for (int i = 0; i < 4; ++i) row += "P" + std::to_string(i) + " " + std::to_string(r.Params[i]) + "  ";
  return row + "Condition " + std::to_string(r.Condition) + "  day " + std::to_string(r.DayNo) + "  last pick " +
         std::to_string(r.LastChoice);
}

// The picks since the play began that lead to the entry on screen.
std::vector<AuthorOverlay::Pick> PicksToCurrent(const ComfortState& c) {
  std::vector<AuthorOverlay::Pick> picks;
  for (const AuthorOverlay::Pick& pick : c.author.picks)
    if (pick.entry >= c.author.startEntry && pick.entry < c.history.Current()) picks.push_back(pick);
  std::sort(picks.begin(), picks.end(), [](const auto& a, const auto& b) { return a.entry < b.entry; });
  return picks;
}

// Where the play began, as `warp` takes it; empty for a new game.
std::string StartPlace(const Game& game, const ComfortState& c) {
  const AuthorOverlay& a = c.author;
  if (!a.warpPlace.empty()) return a.warpPlace;
  const auto& entries = c.history.Entries();
  if (a.startEntry >= static_cast<int>(entries.size())) return "";
  const StoryPoint& point = entries[static_cast<std::size_t>(a.startEntry)].point;
  if (point.scene == 0 && point.step == 0) return "";  // where a new game begins
  return PlaceText(game, point.scene, point.step, point.record, ':');
}

std::string PicksRow(const Game& game, const ComfortState& c, const ComfortCanvas& canvas) {
  std::vector<int> picks = c.author.warpPicks;
  for (const AuthorOverlay::Pick& pick : PicksToCurrent(c)) picks.push_back(pick.row);
  const std::string start = StartPlace(game, c);
  std::string head = "picks (" + std::to_string(picks.size()) + ")";
  if (!start.empty() && c.author.warpPlace.empty())
    head = "loaded at " + start + ", picks since (" + std::to_string(picks.size()) + ")";
  // The newest picks, as many as fit.
  std::string list;
  for (auto pick = picks.rbegin(); pick != picks.rend(); ++pick) {
    const std::string longer = " " + std::to_string(*pick) + list;
    if (canvas.TextWidth(head + ": …" + longer) > kOverlayTextWidth) return head + ": …" + list;
    list = longer;
  }
  return head + ":" + list;
}

void BeginRoute(AuthorOverlay& a, int play, int startEntry) {
  a.play = play;
  a.startEntry = startEntry;
  a.warpPlace.clear();
  a.warpPicks.clear();
  a.picks.clear();
}

void AddClicks(std::string& out, int clicks) {
  for (int i = 0; i < clicks; ++i) out += "click 400 300\n";
}

}  // namespace

bool AuthorOverlayTakesEvent(Game& game, ComfortState& c, const InputEvent& e) {
  AuthorOverlay& a = c.author;
  if (!a.enabled || e.kind != InputEvent::Kind::kKeyDown) return false;
  if (e.key == kVkF12) {
    if (!e.repeat) a.open = !a.open;
    return true;
  }
  if (e.key != kVkC || !a.open) return false;
  if (e.repeat) return true;
  LanguageState& l = c.language;
  l.lastCopied = AuthorRouteScript(game, c);
  if (l.aids) l.aids->Copy(*l.lastCopied);
  return true;
}

void AuthorOverlayEventEnds(const Game& game, ComfortState& c) {
  AuthorOverlay& a = c.author;
  if (!a.enabled) return;
  if (a.play != game.playsBegun) BeginRoute(a, game.playsBegun, 0);
  const auto& reached = c.history.Reaching().pick;
  if (!reached) return;
  const AuthorOverlay::Pick pick{reached->entry, reached->scene, reached->step, reached->row};
  if (SamePick(pick, a.lastHeard)) return;
  a.lastHeard = pick;
  // A pick at a choice gone back to replaces those from there on.
  std::erase_if(a.picks, [&](const AuthorOverlay::Pick& p) { return p.entry >= pick.entry; });
  a.picks.push_back(pick);
}

void AuthorRouteStartsAtWarp(const Game& game, ComfortState& c, const std::string& place, std::vector<int> picks) {
  AuthorOverlay& a = c.author;
  BeginRoute(a, game.playsBegun, std::max(0, c.history.Current()));
  a.warpPlace = place;
  a.warpPicks = std::move(picks);
  if (const auto& reached = c.history.Reaching().pick)
    a.lastHeard = {reached->entry, reached->scene, reached->step, reached->row};
}

std::string AuthorRouteScript(const Game& game, const ComfortState& c) {
  std::string out = "# The route so far, to " + CurrentPlace(game, ' ') + ".\n";
  out += "# Play it on a fresh data folder:\n";
  out += "#   pelmot --headless --script THIS_FILE --data-dir NEW_FOLDER\n";
  const std::string start = StartPlace(game, c);
  if (start.empty())
    out += "click 400 300\nclick 400 300\npick 0\n";
  else
    out += "warp " + start + "\n";
  int at = c.author.startEntry;
  // Skipping stops at the next choice, which is the pick's.
  for (const AuthorOverlay::Pick& pick : PicksToCurrent(c)) {
    if (pick.entry > at) out += "shift down\ntick 100000\nshift up\n";
    out += "pick " + std::to_string(pick.row) + "\n";
    at = pick.entry + 1;
  }
  AddClicks(out, c.history.Current() - at);
  return out;
}

void DrawAuthorOverlay(Game& game, const ComfortState& c, std::span<Colour> pixels) {
  if (!c.author.enabled || !c.author.open) return;
  const ScreenRect area{0, 0, kScreenWidth, kOverlayRows * kRowPitch + 2 * kOverlayMargin};
  // The game shows through, darkened, so the rows read over any picture.
  const int stride = game.form.clientWidth;
  for (int y = area.top; y < area.top + area.height && y < game.form.clientHeight; ++y)
    for (int x = 0; x < std::min(stride, area.width); ++x) {
      Colour& p = pixels[static_cast<std::size_t>(y) * stride + x];
      p = (p >> 3) & 0x1F1F1F;
    }
  ComfortCanvas canvas(game, pixels, area);
  const GameState& s = game.state;
  std::vector<std::string> rows;
  if (s.FlowMode == kModeScene || s.FlowMode == kModeChoice)
    rows.push_back(PlaceRow(game));
  else
    rows.push_back("not in the story (mode " + std::to_string(s.FlowMode) + ")");
  rows.push_back(PictureRow(game));
  rows.push_back(ValuesRow(game));
  rows.push_back(PicksRow(game, c, canvas));
  rows.push_back("C copies the route so far as a headless script");
  for (std::size_t i = 0; i < rows.size(); ++i)
    canvas.ShadowedText(kOverlayMargin, kOverlayMargin + static_cast<int>(i) * kRowPitch, rows[i]);
}

}  // namespace pelmot
