#include "storymap/route_count.h"

#include <algorithm>

namespace pelmot::storymap {
namespace {

std::uint8_t ConditionBit(int condition) {
  return condition >= 0 && condition <= 7 ? static_cast<std::uint8_t>(1u << condition) : 0;
}

int OptionCount(const OptionSet& set) {
  if (set.count > 0) return set.count;
  return static_cast<int>(
      std::count_if(set.options.begin(), set.options.end(), [](const std::string& o) { return !o.empty(); }));
}

std::string OptionWords(const OptionSet& set, int pick) {
  const std::string& text = set.options[pick];
  return text.empty() ? "pick " + std::to_string(pick) : text;
}

// What a scene's ways on depend on: everything but the parameters.
std::uint64_t LocalKey(const WalkState& s) {
  auto word = [](std::int16_t v) { return static_cast<std::uint64_t>(static_cast<std::uint16_t>(v)); };
  return (static_cast<std::uint64_t>(s.scene) & 0xFFFF) | word(s.condition) << 16 | word(s.lastChoice) << 32 |
         word(s.day) << 48;
}

// A scene entry within one scene: parameters 0 ... 999 in 10 bits each, and
// the small values the story sets (Condition 0 ... 7, a pick 0 ... 2,
// DayNo up to 15).
std::uint64_t EntryKey(const WalkState& s, std::uint8_t play) {
  std::uint64_t key = play;
  for (std::int16_t p : s.params) key = key << 10 | static_cast<std::uint64_t>(p & 0x3FF);
  key = key << 4 | static_cast<std::uint64_t>(s.day & 0xF);
  key = key << 3 | static_cast<std::uint64_t>(s.lastChoice & 0x7);
  return key << 4 | static_cast<std::uint64_t>(s.condition & 0xF);
}

}  // namespace

const std::vector<RouteCounter::Transition>& RouteCounter::TransitionsOf(const WalkState& s) {
  const std::uint64_t key = LocalKey(s);
  if (auto it = transitions_.find(key); it != transitions_.end()) return it->second;
  SceneVisit& visit = scenes_.try_emplace(s.scene, SceneVisit{s.day, 0}).first->second;
  visit.conditions |= ConditionBit(s.condition);
  WalkState entry = s;
  entry.params = {};
  entry.endingNo = 0;
  WalkState at = entry;
  Transition path;
  WalkTrace trace;
  const WalkStop stop = walker_.Run(at, &trace);
  path.adds = trace.adds;
  std::vector<Transition> out;
  Explore(at, stop, path, entry, out);
  return transitions_.emplace(key, std::move(out)).first->second;
}

// Follows every pick to the scene's ends, noting each way on.
void RouteCounter::Explore(const WalkState& s, const WalkStop& stop, Transition path, const WalkState& entry,
                           std::vector<Transition>& out) {
  std::vector<std::string>& words = words_;
  std::vector<std::string>& changes = changes_;
  if (stop.kind == WalkStop::Kind::Choice) {
    for (int pick = 0; pick < OptionCount(*stop.options); ++pick) {
      WalkState next = s;
      WalkTrace trace;
      const WalkStop nextStop = walker_.Pick(next, pick, &trace);
      Transition longer = path;
      longer.picks.push_back(pick);
      longer.adds.insert(longer.adds.end(), trace.adds.begin(), trace.adds.end());
      words.push_back(OptionWords(*stop.options, pick));
      const std::size_t changed = changes.size();
      changes.insert(changes.end(), trace.changes.begin(), trace.changes.end());
      Explore(next, nextStop, longer, entry, out);
      words.pop_back();
      changes.resize(changed);
    }
    return;
  }
  if (stop.kind == WalkStop::Kind::Enter) {
    path.next = stop.byParams ? Next::ByParams : Next::Enter;
    path.to = s;
    if (!stop.byParams) ways_[WayKey{entry.scene, s.scene, words, changes}] |= ConditionBit(entry.condition);
  } else {
    path.outcome = stop.outcome;
  }
  out.push_back(std::move(path));
}

PlayFiguresPair RouteCounter::Count(const WalkState& start) { return CountUntil(start, kLastSceneNo + 1); }

void RouteCounter::CountBefore(const WalkState& start, int scene) { CountUntil(start, scene); }

PlayFiguresPair RouteCounter::CountUntil(const WalkState& start, int lastScene) {
  nodes_.clear();
  pending_.clear();
  best_ = {};
  PlayFiguresPair figures;
  Node first;
  first.state = start;
  first.count = 1;
  nodes_.push_back(first);
  pending_[start.scene].emplace(EntryKey(start, 0), 0);
  while (!pending_.empty() && pending_.begin()->first < lastScene) {
    auto scene = pending_.begin();
    std::vector<std::int32_t> entering;
    for (const auto& [key, index] : scene->second) entering.push_back(index);
    pending_.erase(scene);
    for (std::int32_t index : entering) Expand(index, figures);
  }
  return figures;
}

void RouteCounter::Expand(std::int32_t index, PlayFiguresPair& figures) {
  const std::vector<Transition>& ways = TransitionsOf(nodes_[index].state);
  for (std::size_t via = 0; via < ways.size(); ++via) {
    const Transition& t = ways[via];
    const Node from = nodes_[index];
    const int picks = from.fewest + static_cast<int>(t.picks.size());
    if (t.next == Next::Outcome) {
      Finish(from, index, static_cast<std::int32_t>(via), t.outcome, from.play, picks, figures);
      continue;
    }
    WalkState to = t.to;
    to.params = from.state.params;
    for (auto [param, amount] : t.adds)
      to.params[param] = static_cast<std::int16_t>(std::clamp(to.params[param] + amount, 0, 999));
    if (t.next == Next::Enter && to.scene <= from.state.scene) {
      Finish(from, index, static_cast<std::int32_t>(via), kStuck, from.play, picks, figures);  // it would never end
      continue;
    }
    if (t.next == Next::Enter) {
      Reach(from, index, static_cast<std::int32_t>(via), to, from.play, picks, figures);
      continue;
    }
    // The ending selection reads EndingNo: here the two plays part.
    for (std::uint8_t play : {1, 2}) {
      if (from.play != 0 && from.play != play) continue;
      to.scene = SelectEndingScene(to.params, play - 1);
      ways_[WayKey{from.state.scene, to.scene, {}, {}}] |= ConditionBit(from.state.condition);
      Reach(from, index, static_cast<std::int32_t>(via), to, play, picks, figures);
    }
  }
}

void RouteCounter::Reach(const Node& from, std::int32_t fromIndex, std::int32_t via, const WalkState& to,
                         std::uint8_t play, int picks, PlayFiguresPair& figures) {
  // A scene that runs straight to its end (an ending, the game over) needs
  // no state of its own: most states are the ending scenes' otherwise.
  const std::vector<Transition>& next = TransitionsOf(to);
  if (next.size() == 1 && next.front().next == Next::Outcome && next.front().picks.empty())
    return Finish(from, fromIndex, via, next.front().outcome, play, picks, figures);
  auto [slot, fresh] = pending_[to.scene].try_emplace(EntryKey(to, play), static_cast<std::int32_t>(nodes_.size()));
  if (fresh) {
    Node node;
    node.state = to;
    node.play = play;
    node.fewest = picks;
    node.pred = fromIndex;
    node.via = via;
    nodes_.push_back(node);
  }
  Node& node = nodes_[slot->second];
  node.count += from.count;
  if (picks < node.fewest) node.fewest = picks, node.pred = fromIndex, node.via = via;
}

void RouteCounter::Finish(const Node& from, std::int32_t fromIndex, std::int32_t via, int outcome,
                          std::uint8_t fromPlay, int picks, PlayFiguresPair& figures) {
  for (int play : {0, 1}) {
    if (fromPlay != 0 && fromPlay != play + 1) continue;
    figures[play].count[outcome] += from.count;
    figures[play].fewest[outcome] = std::min(figures[play].fewest[outcome], picks);
    Best& best = best_[play][outcome];
    if (picks < best.picks) best = {picks, fromIndex, via};
  }
}

std::vector<int> RouteCounter::PicksTo(std::int32_t node) const {
  std::vector<const std::vector<int>*> parts;
  for (std::int32_t index = nodes_[node].pred, via = nodes_[node].via; index >= 0;) {
    const Node& from = nodes_[index];
    parts.push_back(&transitions_.at(LocalKey(from.state))[via].picks);
    via = from.via;
    index = from.pred;
  }
  std::vector<int> picks;
  for (auto part = parts.rbegin(); part != parts.rend(); ++part)
    picks.insert(picks.end(), (*part)->begin(), (*part)->end());
  return picks;
}

std::optional<std::vector<int>> RouteCounter::Shortest(int play, int outcome) const {
  const Best& best = best_[play][outcome];
  if (best.node < 0) return std::nullopt;
  std::vector<int> picks = PicksTo(best.node);
  const std::vector<int>& last = transitions_.at(LocalKey(nodes_[best.node].state))[best.via].picks;
  picks.insert(picks.end(), last.begin(), last.end());
  return picks;
}

std::vector<RouteCounter::SceneEntry> RouteCounter::EntriesOf(int scene) const {
  std::vector<SceneEntry> entries;
  for (std::size_t i = 0; i < nodes_.size(); ++i)
    if (nodes_[i].state.scene == scene)
      entries.push_back({nodes_[i].state, nodes_[i].play, nodes_[i].fewest, static_cast<std::int32_t>(i)});
  return entries;
}

}  // namespace pelmot::storymap
