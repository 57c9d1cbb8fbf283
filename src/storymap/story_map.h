// The story map: every scene and every way on, laid out by day, with the
// figures of each ending computed from the scene model, and the pictures and
// endings a data folder has seen.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/data_files.h"
#include "scenes/scene_model.h"
#include "storymap/route_count.h"

namespace pelmot::storymap {

enum class NodeKind { Scene, Ending, GameOver };

struct MapNode {
  int scene = 0;
  int day = 0;
  NodeKind kind = NodeKind::Scene;
  std::string firstLine;          // the scene's first words, marks taken out
  std::vector<int> pictures;      // the event pictures it shows
  std::vector<bool> pictureSeen;  // with a data folder: by picture
  bool endingSeen = false;        // an ending the data folder has reached
};

struct MapEdge {
  int from = 0;
  int to = 0;
  std::string conditions;  // "C0,3" where the way depends on Condition; else ""
  std::vector<std::string> picks;
  std::vector<std::string> changes;
};

// The figures of one outcome for one kind of play.
struct PlayFigures {
  std::uint64_t sequences = 0;
  std::optional<std::vector<int>> shortest;  // nothing: unreachable
};

inline constexpr int kFirstPlay = 0;    // EndingNo 0
inline constexpr int kAfterEnding = 1;  // EndingNo not 0

struct OutcomeFigures {
  int outcome = 0;
  std::array<PlayFigures, 2> plays;
};

struct StoryMap {
  std::vector<MapNode> nodes;  // by scene number
  std::vector<MapEdge> edges;
  std::vector<OutcomeFigures> outcomes;  // endings 1 ... 10, the game over; "stuck" when any
  bool progress = false;                 // marked with a data folder's seen flags
  std::size_t statesWalked = 0;
};

// Walks every pick sequence of `story` (the structure composed with the
// scenario) for a first play and for a later one.
StoryMap BuildStoryMap(const Story& story, const std::optional<SeenFlags>& seen);

// The line steps and option sets some play shows; the scenario's words do
// not matter, so the structure alone will do.
ShownSteps ReachableSteps(const Story& story);

// A line's words as the map shows them: each "@r"/"@R" a space, a leading
// "@" or "＠" taken out.
std::string WithoutMarks(std::string_view text);

// The scene of a node: "s12".
std::string NodeId(int scene);

}  // namespace pelmot::storymap
