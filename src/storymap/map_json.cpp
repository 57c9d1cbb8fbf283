#include "storymap/map_writers.h"

#include <cstdio>

namespace pelmot::storymap {
namespace {

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

template <typename T, typename Format>
std::string List(const std::vector<T>& items, Format format) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + format(items[i]);
  return out + "]";
}

std::string Number(int n) { return std::to_string(n); }

const char* KindName(NodeKind kind) {
  switch (kind) {
    case NodeKind::Ending: return "ending";
    case NodeKind::GameOver: return "game over";
    case NodeKind::Scene: break;
  }
  return "scene";
}

std::string NodeJson(const MapNode& node, bool progress) {
  std::string out = "{\"scene\":" + Number(node.scene) + ",\"day\":" + Number(node.day) +
                    ",\"kind\":" + Json(KindName(node.kind)) + ",\"firstLine\":" + Json(node.firstLine) +
                    ",\"pictures\":" + List(node.pictures, Number);
  if (progress) {
    std::vector<int> seen;
    for (std::size_t i = 0; i < node.pictures.size(); ++i)
      if (node.pictureSeen[i]) seen.push_back(node.pictures[i]);
    out += ",\"picturesSeen\":" + List(seen, Number);
    if (node.kind == NodeKind::Ending) out += std::string(",\"endingSeen\":") + (node.endingSeen ? "true" : "false");
  }
  return out + "}";
}

std::string EdgeJson(const MapEdge& edge) {
  return "{\"from\":" + Number(edge.from) + ",\"to\":" + Number(edge.to) +
         ",\"conditions\":" + (edge.conditions.empty() ? "null" : Json(edge.conditions)) +
         ",\"picks\":" + List(edge.picks, Json) + ",\"changes\":" + List(edge.changes, Json) + "}";
}

std::string PlayJson(const PlayFigures& play, const std::string& script) {
  std::string out = "{\"sequences\":" + std::to_string(play.sequences);
  if (play.shortest) {
    out += ",\"fewestPicks\":" + Number(static_cast<int>(play.shortest->size())) +
           ",\"shortest\":" + List(*play.shortest, Number);
  } else {
    out += ",\"fewestPicks\":null,\"shortest\":null";
  }
  out += ",\"script\":" + (script.empty() ? std::string("null") : Json(script));
  return out + "}";
}

std::string OutcomeJson(const OutcomeFigures& figures, const std::array<std::string, 2>& scripts) {
  const bool ending = figures.outcome < kGameOver;
  return "{\"outcome\":" + Json(OutcomeName(figures.outcome)) +
         ",\"scene\":" + (ending ? Number(kFirstEndingScene + figures.outcome) : std::string("null")) +
         ",\"firstPlay\":" + PlayJson(figures.plays[kFirstPlay], scripts[kFirstPlay]) +
         ",\"afterAnEnding\":" + PlayJson(figures.plays[kAfterEnding], scripts[kAfterEnding]) + "}";
}

}  // namespace

std::string JsonText(const StoryMap& map, const ScriptPaths& scripts) {
  std::string out = "{\n\"scenes\":[\n";
  for (std::size_t i = 0; i < map.nodes.size(); ++i) out += (i ? ",\n" : "") + NodeJson(map.nodes[i], map.progress);
  out += "\n],\n\"edges\":[\n";
  for (std::size_t i = 0; i < map.edges.size(); ++i) out += (i ? ",\n" : "") + EdgeJson(map.edges[i]);
  out += "\n],\n\"outcomes\":[\n";
  for (std::size_t i = 0; i < map.outcomes.size(); ++i)
    out +=
        (i ? ",\n" : "") + OutcomeJson(map.outcomes[i], i < scripts.size() ? scripts[i] : std::array<std::string, 2>{});
  out += "\n],\n\"statesWalked\":" + std::to_string(map.statesWalked) + "\n}\n";
  return out;
}

}  // namespace pelmot::storymap
