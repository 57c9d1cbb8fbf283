#include "storymap/story_map.h"

#include <algorithm>
#include <map>

namespace pelmot::storymap {
namespace {

bool HasOp(const SceneScript& scene, OpKind kind) {
  for (const Lane& lane : scene.lanes)
    for (const Step& step : lane.steps)
      for (const Op& op : step.ops)
        if (op.kind == kind) return true;
  return false;
}

// The layout marks of the text window are not words: a leading "@" or "＠"
// and the row ends "@r", "@R".
std::string FirstLine(const SceneScript& scene) {
  for (const Lane& lane : scene.lanes)
    for (const Step& step : lane.steps)
      for (const Op& op : step.ops)
        if (op.kind == OpKind::Line && !op.text.empty()) return WithoutMarks(op.text);
  return "";
}

// How many scenes show each picture: a picture only one ending shows says
// the player has been there.
std::map<int, int> SceneCountByPicture(const Story& story) {
  std::map<int, int> count;
  for (const SceneScript& scene : story.Scenes())
    for (int picture : scene.pictures) ++count[picture];
  return count;
}

bool Seen(const SeenFlags& seen, int picture) { return picture >= 0 && picture < kEndingIndex && seen[picture] != 0; }

MapNode NodeOf(const SceneScript& scene, const std::map<int, SceneVisit>& visits) {
  MapNode node;
  node.scene = scene.number;
  auto visit = visits.find(scene.number);
  node.day = visit == visits.end() ? 0 : visit->second.day;
  node.kind = HasOp(scene, OpKind::Ending)     ? NodeKind::Ending
              : HasOp(scene, OpKind::GameOver) ? NodeKind::GameOver
                                               : NodeKind::Scene;
  node.firstLine = FirstLine(scene);
  node.pictures = scene.pictures;
  return node;
}

void MarkProgress(MapNode& node, const SeenFlags& seen, const std::map<int, int>& scenesByPicture) {
  for (int picture : node.pictures) node.pictureSeen.push_back(Seen(seen, picture));
  if (node.kind != NodeKind::Ending) return;
  if (seen[kEndingIndex] == node.scene - (kFirstEndingScene - 1)) node.endingSeen = true;
  for (std::size_t i = 0; i < node.pictures.size(); ++i)
    if (node.pictureSeen[i] && scenesByPicture.at(node.pictures[i]) == 1) node.endingSeen = true;
}

std::vector<MapEdge> EdgesOf(const RouteCounter& counter) {
  std::vector<MapEdge> edges;
  for (const auto& [way, conditions] : counter.Ways()) {
    MapEdge edge{way.from, way.to, "", way.picks, way.changes};
    auto visit = counter.Scenes().find(way.from);
    // A way taken with every Condition the scene is entered with needs none.
    if (visit != counter.Scenes().end() && conditions != visit->second.conditions)
      edge.conditions = ConditionSet::FromBits(conditions).Name();
    edges.push_back(std::move(edge));
  }
  return edges;
}

}  // namespace

// One pass: a page break mark becomes a space, and a leading "@" (either
// width) that keeps the line in the window goes.
std::string WithoutMarks(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '@' && at + 1 < text.size() && (text[at + 1] == 'r' || text[at + 1] == 'R')) {
      shown += ' ';
      ++at;
    } else {
      shown += text[at];
    }
  }
  for (const std::string_view lead : {std::string_view("＠"), std::string_view("@")})
    if (shown.starts_with(lead)) return shown.substr(lead.size());
  return shown;
}

std::string NodeId(int scene) { return "s" + std::to_string(scene); }

StoryMap BuildStoryMap(const Story& story, const std::optional<SeenFlags>& seen) {
  RouteCounter counter(story);
  const PlayFiguresPair figures = counter.Count(NewGame(0));
  StoryMap map;
  for (int outcome = 0; outcome < kOutcomeCount; ++outcome) {
    if (outcome == kStuck && figures[0].count[kStuck] == 0 && figures[1].count[kStuck] == 0) continue;
    OutcomeFigures out{outcome, {}};
    for (int play : {kFirstPlay, kAfterEnding}) {
      out.plays[play].sequences = figures[play].count[outcome];
      out.plays[play].shortest = counter.Shortest(play, outcome);
    }
    map.outcomes.push_back(std::move(out));
  }
  const std::map<int, int> scenesByPicture = SceneCountByPicture(story);
  for (const SceneScript& scene : story.Scenes()) {
    map.nodes.push_back(NodeOf(scene, counter.Scenes()));
    if (seen) MarkProgress(map.nodes.back(), *seen, scenesByPicture);
  }
  map.edges = EdgesOf(counter);
  map.progress = seen.has_value();
  map.statesWalked = counter.StatesWalked();
  return map;
}

ShownSteps ReachableSteps(const Story& story) {
  RouteCounter counter(story);
  counter.Count(NewGame(0));
  return counter.Shown();
}

}  // namespace pelmot::storymap
