// The route chart (F3): the story's choices by day, each reached one with
// the options taken there, and the endings reached. What is not reached yet
// shows no words. A reached choice can be picked to return there with the
// values it had the last time it was reached.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "game/screen_geometry.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;
struct ComfortState;

struct ChartRow {
  std::string text;
  int pick = -1;  // the reached choice it belongs to, in the chart's order
  bool indent = false;
};

struct RouteChart {
  bool open = false;
  std::vector<ChartRow> rows;
  std::vector<std::pair<int, int>> picks;  // scene, step of each reached choice, in order
  int framed = -1;                         // a reached choice
  int scrolled = 0;                        // rows above the first shown
  std::string endingsLine;                 // "n / 10"
};

// F3 opens it in the story and on the title; while open it takes every
// event but a key release, the close request and a box's answer.
bool RouteChartTakeEvent(Game& game, ComfortState& comforts, const InputEvent& event);
void DrawRouteChart(Game& game, const RouteChart& chart, std::span<Colour> pixels);
// Where a press picks reached choice `pick`, scrolling it into view first.
std::optional<Point> RouteChartPickPoint(RouteChart& chart, int pick);

// What play reached this event goes into the record (and its file).
void RecordRoutes(Game& game, ComfortState& comforts);

}  // namespace pelmot
