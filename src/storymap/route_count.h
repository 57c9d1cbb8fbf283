// Counting every pick sequence through the story, exactly. Nothing in a
// scene reads the parameters except the ending selection, so each scene's
// ways on are walked once per (scene, Condition, LastChoice, DayNo) and
// kept; then the distinct states entering each scene are carried forward
// scene by scene with how many sequences reach them and the fewest picks.
#pragma once

#include <climits>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "storymap/story_walk.h"

namespace pelmot::storymap {

inline constexpr int kUnreachable = INT_MAX;

// For each outcome: how many pick sequences lead there, and the fewest picks
// any of them takes.
struct Figures {
  std::array<std::uint64_t, kOutcomeCount> count{};
  std::array<int, kOutcomeCount> fewest;
  Figures() { fewest.fill(kUnreachable); }
};

// A way from one scene to the next: the picks made in the scene (their
// options' words) and the value changes on the way.
struct WayKey {
  int from = 0;
  int to = 0;
  std::vector<std::string> picks;
  std::vector<std::string> changes;
  // Spelled out rather than a defaulted <=>: the browser edition's C++
  // library has no three-way comparison of vectors and strings.
  friend bool operator<(const WayKey& a, const WayKey& b) {
    return std::tie(a.from, a.to, a.picks, a.changes) < std::tie(b.from, b.to, b.picks, b.changes);
  }
  friend bool operator==(const WayKey&, const WayKey&) = default;
};

struct SceneVisit {
  int day = 0;                  // DayNo on entering, the first time
  std::uint8_t conditions = 0;  // the Condition values it is entered with (bits 0 ... 7)
};

// Index 0: a first play (EndingNo 0); 1: a later one (EndingNo 1).
using PlayFiguresPair = std::array<Figures, 2>;

class RouteCounter {
 public:
  explicit RouteCounter(const Story& story) : walker_(story) {}

  // Every pick sequence from `start` (step 0 of its scene; its EndingNo is
  // not used: both plays are counted).
  PlayFiguresPair Count(const WalkState& start);
  // The same for the scenes before `scene` only: enough for the entries of
  // `scene` and the outcomes it leads to (scenes only ever go forward).
  void CountBefore(const WalkState& start, int scene);
  // After Count: one sequence with the fewest picks to `outcome`.
  std::optional<std::vector<int>> Shortest(int play, int outcome) const;

  // After Count: the states entering `scene`, in the order Count first
  // reached them (so the first of equals is the one Shortest keeps), each
  // with the fewest picks to it. Scenes that run straight to their end (the
  // endings, the game over) have none: see Shortest.
  struct SceneEntry {
    WalkState state;
    int play = 0;  // 0: either play; 1: a first play; 2: a later one
    int fewest = 0;
    std::int32_t id = -1;  // for PicksTo
  };
  std::vector<SceneEntry> EntriesOf(int scene) const;
  // One sequence of the fewest picks to the entry.
  std::vector<int> PicksTo(std::int32_t id) const;

  const std::map<WayKey, std::uint8_t>& Ways() const { return ways_; }
  const std::map<int, SceneVisit>& Scenes() const { return scenes_; }
  const ShownSteps& Shown() const { return walker_.shown(); }
  std::size_t StatesWalked() const { return nodes_.size(); }

 private:
  enum class Next : std::uint8_t { Enter, ByParams, Outcome };
  struct Transition {
    std::vector<int> picks;
    std::vector<std::pair<int, int>> adds;
    Next next = Next::Outcome;
    WalkState to;  // Enter, ByParams (its scene chosen later)
    int outcome = kStuck;
  };
  struct Node {
    WalkState state;
    std::uint8_t play = 0;  // 0: both plays alike so far; 1, 2: first, later
    std::uint64_t count = 0;
    int fewest = 0;
    std::int32_t pred = -1;
    std::int32_t via = -1;  // the transition of pred that led here
  };
  struct Best {
    int picks = kUnreachable;
    std::int32_t node = -1;
    std::int32_t via = -1;
  };

  PlayFiguresPair CountUntil(const WalkState& start, int lastScene);
  const std::vector<Transition>& TransitionsOf(const WalkState& s);
  void Explore(const WalkState& s, const WalkStop& stop, Transition path, const WalkState& entry,
               std::vector<Transition>& out);
  void Expand(std::int32_t index, PlayFiguresPair& figures);
  void Reach(const Node& from, std::int32_t fromIndex, std::int32_t via, const WalkState& to, std::uint8_t play,
             int picks, PlayFiguresPair& figures);
  void Finish(const Node& from, std::int32_t fromIndex, std::int32_t via, int outcome, std::uint8_t fromPlay, int picks,
              PlayFiguresPair& figures);

  StoryWalker walker_;
  std::unordered_map<std::uint64_t, std::vector<Transition>> transitions_;
  std::vector<Node> nodes_;
  std::map<int, std::unordered_map<std::uint64_t, std::int32_t>> pending_;  // by scene: params and key to node
  std::array<std::array<Best, kOutcomeCount>, 2> best_;
  std::map<WayKey, std::uint8_t> ways_;
  std::map<int, SceneVisit> scenes_;
  std::vector<std::string> words_, changes_;  // of the way Explore follows
};

}  // namespace pelmot::storymap
