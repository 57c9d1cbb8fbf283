// The choices and endings reached in this data folder, kept in a file of
// its own (ROUTES.TXT) for the route chart: each choice with the options
// taken there and the page that led to it the last time it was reached.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "comforts/story_point.h"

namespace pelmot {

class Game;

inline constexpr int kEndingCount = 10;
inline constexpr std::size_t kMaxRouteRecordBytes = 4 * 1024 * 1024;

struct ReachedChoice {
  int scene = 0;
  int step = 0;
  unsigned picks = 0;            // a bit for each option row taken
  std::vector<StoryPoint> page;  // from the page's start to the options
};

struct RouteRecord {
  std::vector<ReachedChoice> choices;
  std::array<bool, kEndingCount> endings{};

  const ReachedChoice* Find(int scene, int step) const;
  ReachedChoice* Find(int scene, int step);
  // Keeps `choice` as the latest reach of its place; its picks stay.
  void Reached(ReachedChoice choice);
  // Option `row` was taken at the choice of `scene`, `step`.
  void Picked(int scene, int step, int row);

  std::string Encode() const;
  static std::optional<RouteRecord> Decode(const std::string& text);
};

// The record in the data folder: empty when there is none; empty and not
// writable, with one message box, when it cannot be read or is damaged
// (the file is left as it is).
RouteRecord LoadRouteRecord(Game& game, bool& writable);
// Replaces the file whole, behind the game.
void SaveRouteRecordLater(Game& game, const RouteRecord& record);

}  // namespace pelmot
