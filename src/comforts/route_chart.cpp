#include "comforts/route_chart.h"

#include <algorithm>
#include <deque>
#include <map>
#include <ostream>
#include <tuple>

#include "comforts/comfort_canvas.h"
#include "comforts/comfort_state.h"
#include "comforts/day_name.h"
#include "flow/input.h"
#include "flow/picture_only_view.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"
#include "scenes/op_walk.h"
#include "scenes/scene_model.h"
#include "scenes/scene_table.h"

namespace pelmot {
namespace {

using Kind = InputEvent::Kind;

constexpr Colour kFrameColour = Rgb(240, 240, 240);
constexpr int kRowsPerNotch = 3;
constexpr std::size_t kEndingWords = 16;  // characters of an ending's first line

// A choice of the story: where it is, and the day play reaches it on.
struct ChoicePlace {
  int day = 0;
  int scene = 0;
  int step = 0;
  const Op* choice = nullptr;
  auto Key() const { return std::tie(day, scene, step); }
};

template <class F>
void ForEachOp(const std::vector<Op>& ops, const F& f) {
  for (const Op& op : ops) {
    f(op);
    for (const BranchCase& c : op.cases) ForEachOp(c.ops, f);
  }
}

template <class F>
void ForEachOp(const SceneScript& scene, const F& f) {
  for (const Lane& lane : scene.lanes)
    for (const Step& step : lane.steps) ForEachOp(step.ops, f);
}

// The day each scene begins on, from the prologue along the ways between
// scenes; a scene's day is set as it hands on to the next.
std::map<int, int> SceneDays(const Story& story) {
  std::map<int, int> days;
  std::deque<int> queue;
  if (story.Find(0)) {
    days[0] = 1;
    queue.push_back(0);
  }
  while (!queue.empty()) {
    const int number = queue.front();
    queue.pop_front();
    const SceneScript& scene = *story.Find(number);
    int next = days[number];
    ForEachOp(scene, [&](const Op& op) {
      if (op.kind == OpKind::SetDay) next = op.a;
    });
    ForEachOp(scene, [&](const Op& op) {
      if (op.kind == OpKind::GoToScene && story.Find(op.a) && days.emplace(op.a, next).second) queue.push_back(op.a);
    });
  }
  return days;
}

std::vector<ChoicePlace> ChoicePlaces(const Story& story) {
  const std::map<int, int> days = SceneDays(story);
  std::vector<ChoicePlace> places;
  for (const SceneScript& scene : story.Scenes()) {
    const auto day = days.find(scene.number);
    if (day == days.end()) continue;
    for (const Lane& lane : scene.lanes) {
      for (int step = lane.first; step <= lane.Last(); ++step) {
        const Step* s = lane.At(step);
        const bool known = std::any_of(places.begin(), places.end(),
                                       [&](const ChoicePlace& p) { return p.scene == scene.number && p.step == step; });
        if (s->IsChoice() && !known) places.push_back({day->second, scene.number, step, &s->ops.front()});
      }
    }
  }
  std::sort(places.begin(), places.end(), [](const ChoicePlace& a, const ChoicePlace& b) { return a.Key() < b.Key(); });
  return places;
}

// The first words of the scene that ends in ending `ending`.
std::string EndingWords(const Story& story, int ending) {
  std::string words;
  for (const SceneScript& scene : story.Scenes()) {
    bool ends = false;
    ForEachOp(scene, [&](const Op& op) { ends = ends || (op.kind == OpKind::Ending && op.a == ending); });
    if (!ends) continue;
    ForEachOp(scene, [&](const Op& op) {
      if (words.empty() && op.kind == OpKind::Line) words = op.text;
    });
    break;
  }
  std::u32string text = DecodeUtf8(words);
  text.erase(std::remove_if(text.begin(), text.end(), [](char32_t c) { return c == U'@' || c == U'\n'; }), text.end());
  if (text.size() > kEndingWords) text = text.substr(0, kEndingWords) + U"…";
  return EncodeUtf8(text);
}

// Every point of the page runs a step of the story as it stands now (the
// scenario may have changed since they were kept).
bool Playable(const Story& story, const ReachedChoice& reached) {
  return std::all_of(reached.page.begin(), reached.page.end(), [&](const StoryPoint& p) {
    const SceneScript* scene = story.Find(p.scene);
    const Lane* lane = scene ? scene->ServingLane(p.step, p.record.Condition, p.record.LastChoice) : nullptr;
    return lane && lane->Has(p.step);
  });
}

// The rows of a reached choice: the options taken in words, the others not.
void AddChoiceRows(RouteChart& chart, const ChoicePlace& place, const ReachedChoice& reached) {
  const int pick = static_cast<int>(chart.picks.size());
  chart.picks.emplace_back(place.scene, place.step);
  const OptionSet* set = OptionsFor(*place.choice, reached.page.back().record.Condition);
  for (int row = 0; set && row < static_cast<int>(set->options.size()); ++row) {
    if (set->options[static_cast<std::size_t>(row)].empty()) continue;
    const bool taken = (reached.picks >> row) & 1u;
    chart.rows.push_back(
        {taken ? set->options[static_cast<std::size_t>(row)] : Ui(UiText::route_not_reached), pick, true});
  }
}

int EndingsReached(const ComfortState& c) {
  return static_cast<int>(std::count(c.routes.endings.begin(), c.routes.endings.end(), true));
}

void BuildRows(const Game& game, ComfortState& c) {
  RouteChart& chart = c.routeChart;
  chart.rows.clear();
  chart.picks.clear();
  const Story* story = PlayedStory(game);
  if (!story) return;
  int day = -1;
  for (const ChoicePlace& place : ChoicePlaces(*story)) {
    if (place.day != day) chart.rows.push_back({DayName(day = place.day), -1, false});
    const ReachedChoice* reached = c.routes.Find(place.scene, place.step);
    if (reached && Playable(*story, *reached))
      AddChoiceRows(chart, place, *reached);
    else
      chart.rows.push_back({Ui(UiText::route_not_reached), -1, true});
  }
  chart.endingsLine =
      UiFormat(UiText::route_endings, {std::to_string(EndingsReached(c)), std::to_string(kEndingCount)});
  chart.rows.push_back({chart.endingsLine, -1, false});
  for (int ending = 1; ending <= kEndingCount; ++ending) {
    const bool reached = c.routes.endings[static_cast<std::size_t>(ending - 1)];
    chart.rows.push_back(
        {UiFormat(UiText::route_ending,
                  {std::to_string(ending), reached ? EndingWords(*story, ending) : Ui(UiText::route_not_reached)}),
         -1, true});
  }
}

int RowCount(const RouteChart& chart) { return static_cast<int>(chart.rows.size()); }
int MostScrolled(const RouteChart& chart) { return std::max(0, RowCount(chart) - kChartListRows); }

void ScrollBy(RouteChart& chart, int rows) {
  chart.scrolled = std::clamp(chart.scrolled + rows, 0, MostScrolled(chart));
}

// Scrolls the least that shows every row of the framed choice.
void ShowFramed(RouteChart& chart) {
  int first = -1, last = -1;
  for (int i = 0; i < RowCount(chart); ++i) {
    if (chart.rows[static_cast<std::size_t>(i)].pick != chart.framed) continue;
    if (first < 0) first = i;
    last = i;
  }
  if (first < 0) return;
  if (last >= chart.scrolled + kChartListRows) chart.scrolled = last - kChartListRows + 1;
  if (first < chart.scrolled) chart.scrolled = first;
  chart.scrolled = std::clamp(chart.scrolled, 0, MostScrolled(chart));
}

std::optional<int> RowAt(const RouteChart& chart, int y) {
  const int slot = FloorDiv(y - ChartRowTextTop(0) + kFrameAboveText, kRowPitch);
  const int row = chart.scrolled + slot;
  if (slot < 0 || slot >= kChartListRows || row >= RowCount(chart)) return std::nullopt;
  return row;
}

std::optional<int> PickAt(const RouteChart& chart, int y) {
  const auto row = RowAt(chart, y);
  if (!row || chart.rows[static_cast<std::size_t>(*row)].pick < 0) return std::nullopt;
  return chart.rows[static_cast<std::size_t>(*row)].pick;
}

bool InStory(const Game& game) { return InScenePlay(game) && !InPictureOnlyView(game); }

bool CanOpen(const Game& game) { return InStory(game) || game.state.FlowMode == kModeTitle; }

void Close(RouteChart& chart) { chart = {}; }

void Jump(Game& game, ComfortState& c, int pick) {
  const auto [scene, step] = c.routeChart.picks[static_cast<std::size_t>(pick)];
  const ReachedChoice* reached = c.routes.Find(scene, step);
  if (!reached) return;
  const std::vector<StoryPoint> page = reached->page;  // the record changes as the page shows
  Close(c.routeChart);
  StopAutoForward(game, c);
  c.skipToChoice = false;
  game.form.StopSkipping();
  c.history.Replay(game, page);
}

// From the story the player is asked first, as before going back to the
// title; from the title the chart goes there at once.
void Choose(Game& game, ComfortState& c, int pick) {
  if (pick < 0 || pick >= static_cast<int>(c.routeChart.picks.size())) return;
  if (!InStory(game)) {
    Jump(game, c, pick);
    return;
  }
  game.services.dialogs.AskYesNo(Ui(UiText::route_ask_jump), [&game, &c, pick](bool yes) {
    if (yes && c.routeChart.open) Jump(game, c, pick);
  });
}

void MoveFrame(RouteChart& chart, int by) {
  const int last = static_cast<int>(chart.picks.size()) - 1;
  if (last < 0) return;
  chart.framed = chart.framed < 0 ? (by > 0 ? 0 : last) : std::clamp(chart.framed + by, 0, last);
  ShowFramed(chart);
}

void TakeKey(Game& game, ComfortState& c, int key) {
  RouteChart& chart = c.routeChart;
  switch (key) {
    case kVkUp: MoveFrame(chart, -1); break;
    case kVkDown:
    case kVkTab: MoveFrame(chart, 1); break;
    case kVkPageUp: ScrollBy(chart, -(kChartListRows - 1)); break;
    case kVkPageDown: ScrollBy(chart, kChartListRows - 1); break;
    case kVkEnter:
    case kVkSpace: Choose(game, c, chart.framed); break;
    case kVkEscape:
    case kVkF3: Close(chart); break;
    default: break;
  }
}

}  // namespace

bool RouteChartTakeEvent(Game& game, ComfortState& c, const InputEvent& e) {
  RouteChart& chart = c.routeChart;
  if (!chart.open) {
    if (e.kind != Kind::kKeyDown || e.key != kVkF3 || e.repeat || !CanOpen(game)) return false;
    if (game.trace) *game.trace << "RouteChart open" << std::endl;
    chart.open = true;
    BuildRows(game, c);
    MoveFrame(chart, 1);
    return true;
  }
  switch (e.kind) {
    case Kind::kKeyUp:
    case Kind::kCloseRequested:
    case Kind::kDialogAnswered: return false;
    case Kind::kKeyDown:
      if (!e.repeat || e.key != kVkF3) TakeKey(game, c, e.key);
      break;
    case Kind::kWheel: ScrollBy(chart, -e.wheel * kRowsPerNotch); break;
    case Kind::kMouseDown:
      if (e.button == kRightButton)
        Close(chart);
      else if (const auto pick = PickAt(chart, e.y))
        Choose(game, c, *pick);
      break;
    case Kind::kMouseMove:
      if (const auto pick = PickAt(chart, e.y)) chart.framed = *pick;
      break;
    case Kind::kMouseUp: break;
  }
  return true;
}

std::optional<Point> RouteChartPickPoint(RouteChart& chart, int pick) {
  if (!chart.open || pick < 0 || pick >= static_cast<int>(chart.picks.size())) return std::nullopt;
  chart.framed = pick;
  ShowFramed(chart);
  for (int row = chart.scrolled; row < std::min(RowCount(chart), chart.scrolled + kChartListRows); ++row)
    if (chart.rows[static_cast<std::size_t>(row)].pick == pick)
      return Point{kChartTextLeft + kChartIndent, ChartRowTextTop(row - chart.scrolled) + kRowPitch / 2};
  return std::nullopt;
}

void DrawRouteChart(Game& game, const RouteChart& chart, std::span<Colour> pixels) {
  ComfortCanvas canvas(game, pixels, kWholeScreen);
  canvas.DimmedPicture();
  canvas.ShadowedText(kChartTextLeft, kChartTitleTextTop, Ui(UiText::route_chart_title));
  const std::string endings = chart.endingsLine;
  canvas.ShadowedText(kScreenWidth - kChartTextLeft - canvas.TextWidth(endings), kChartTitleTextTop, endings);
  int frameTop = -1, frameBottom = -1;
  for (int slot = 0; slot < kChartListRows && chart.scrolled + slot < RowCount(chart); ++slot) {
    const ChartRow& row = chart.rows[static_cast<std::size_t>(chart.scrolled + slot)];
    const int y = ChartRowTextTop(slot);
    canvas.ShadowedText(kChartTextLeft + (row.indent ? kChartIndent : 0), y, row.text);
    if (row.pick < 0 || row.pick != chart.framed) continue;
    if (frameTop < 0) frameTop = y - kFrameAboveText;
    frameBottom = y + kFrameBelowText;
  }
  if (frameTop >= 0)
    canvas.Outline({kChartTextLeft + kChartIndent - kChartFrameSide, frameTop,
                    kScreenWidth - kChartTextLeft - kChartIndent, frameBottom - frameTop},
                   kFrameColour);
}

void RecordRoutes(Game& game, ComfortState& c) {
  if (!c.routesWritable) return;
  bool changed = false;
  const History::Reached reached = c.history.TakeReached();
  if (reached.pick) {
    c.routes.Picked(reached.pick->scene, reached.pick->step, reached.pick->row);
    changed = true;
  }
  if (reached.choiceShown) {
    const History::Entry& entry = c.history.Entries()[static_cast<std::size_t>(*reached.choiceShown)];
    c.routes.Reached({entry.choiceScene, entry.choiceStep, 0, c.history.PagePoints(*reached.choiceShown)});
    changed = true;
  }
  // EndingNo is only ever set by reaching an ending.
  const int ending = game.state.EndingNo();
  if (ending >= 1 && ending <= kEndingCount && !c.routes.endings[static_cast<std::size_t>(ending - 1)]) {
    c.routes.endings[static_cast<std::size_t>(ending - 1)] = true;
    changed = true;
  }
  if (changed) SaveRouteRecordLater(game, c.routes);
}

}  // namespace pelmot
