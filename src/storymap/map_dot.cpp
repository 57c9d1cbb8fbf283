#include "storymap/map_writers.h"

#include <map>
#include <set>

namespace pelmot::storymap {
namespace {

constexpr const char* kFont = "IPAGothic";
constexpr std::size_t kLineChars = 16;    // a node's first words
constexpr std::size_t kOptionChars = 14;  // an option on an edge

// Text inside an HTML-like label.
std::string Html(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\n':
      case '\r':
      case '\t': out += ' '; break;
      default: out += c;
    }
  }
  return out;
}

// Text inside a quoted DOT string; "\n" between rows is added by the caller.
std::string Quoted(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
  }
  return out;
}

std::string PictureList(const MapNode& node, bool progress) {
  std::string out;
  for (std::size_t i = 0; i < node.pictures.size(); ++i) {
    const std::string n = std::to_string(node.pictures[i]);
    out += " ";
    if (!progress)
      out += n;
    else if (node.pictureSeen[i])
      out += "<B>" + n + "</B>";
    else
      out += "<FONT COLOR=\"#a0a0a0\">" + n + "</FONT>";
  }
  return out.empty() ? "" : "pictures" + out;
}

std::string NodeLabel(const MapNode& node, bool progress) {
  std::string title = "<B>" + std::to_string(node.scene) + "</B>";
  if (node.kind == NodeKind::Ending) title += "  ending " + std::to_string(node.scene - 150);
  if (node.kind == NodeKind::GameOver) title += "  game over";
  if (node.endingSeen) title += "  ✔ seen";
  std::string label = "<" + title + "<BR/>";
  if (!node.firstLine.empty()) label += Html(Shorten(node.firstLine, kLineChars)) + "<BR/>";
  const std::string pictures = PictureList(node, progress);
  if (!pictures.empty()) label += "<FONT POINT-SIZE=\"8\">" + pictures + "</FONT>";
  return label + ">";
}

std::string NodeStyle(const MapNode& node) {
  std::string fill = "#ffffff";
  if (node.kind == NodeKind::Ending) fill = "#ffd866";
  if (node.kind == NodeKind::GameOver) fill = "#f49a9a";
  std::string style = "fillcolor=\"" + fill + "\"";
  if (node.endingSeen) style += ", penwidth=3, color=\"#2f7d32\"";
  if (node.day == 0) style += ", style=\"rounded,filled,dashed\"";
  return style;
}

// How scene 150 chooses; the labels of its ways.
std::string EndingRule(int scene) {
  static const std::map<int, std::string> rules = {
      {151, "P0, P1, P2 < 80"},     {152, "P3 < 270, P1 ≥ 120, P2 ≥ 120"},
      {153, "P3 < 270, P0 ≥ 120"},  {154, "P3 < 270, P1 > P2"},
      {155, "P3 < 270, otherwise"}, {156, "P3 ≥ 270, P0 highest"},
      {157, "P3 ≥ 270, P1 > P2"},   {158, "P3 ≥ 270, P2 > P1"},
      {159, "P3 ≥ 270, otherwise"}, {160, "P0, P1, P2 ≥ 120, P3 ≥ 270,\\nafter an ending"},
  };
  auto it = rules.find(scene);
  return it == rules.end() ? "" : it->second;
}

std::string EdgeLabel(const MapEdge& edge) {
  std::vector<std::string> rows;
  if (!edge.conditions.empty()) rows.push_back(edge.conditions);
  for (const std::string& pick : edge.picks) rows.push_back("「" + Quoted(Shorten(pick, kOptionChars)) + "」");
  std::string changes;
  for (const std::string& change : edge.changes) changes += (changes.empty() ? "" : " ") + change;
  if (!changes.empty()) rows.push_back(changes);
  if (rows.empty() && edge.picks.empty()) rows.push_back(EndingRule(edge.to));
  std::string label;
  for (const std::string& row : rows)
    if (!row.empty()) label += (label.empty() ? "" : "\\n") + row;
  return label;
}

void WriteClusters(std::string& out, const StoryMap& map) {
  std::map<int, std::vector<const MapNode*>> byDay;
  for (const MapNode& node : map.nodes) byDay[node.day].push_back(&node);
  for (const auto& [day, nodes] : byDay) {
    const std::string name = day == 0 ? "never reached" : "day " + std::to_string(day);
    out += "  subgraph cluster_day" + std::to_string(day) + " {\n    label=\"" + name +
           "\"; style=\"rounded\"; color=\"#c0c0c0\"; fontcolor=\"#606060\";\n";
    for (const MapNode* node : nodes)
      out +=
          "    " + NodeId(node->scene) + " [label=" + NodeLabel(*node, map.progress) + ", " + NodeStyle(*node) + "];\n";
    out += "  }\n";
  }
}

}  // namespace

std::string Shorten(const std::string& utf8, std::size_t limit) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (chars++ == limit) return utf8.substr(0, i) + "…";
  }
  return utf8;
}

std::string DotText(const StoryMap& map) {
  std::string out = "digraph story {\n";
  out += std::string("  graph [rankdir=TB, newrank=true, nodesep=0.25, ranksep=0.45, fontname=\"") + kFont +
         "\", fontsize=16];\n";
  out += std::string("  node [shape=box, style=\"rounded,filled\", fontname=\"") + kFont + "\", fontsize=11];\n";
  out += std::string("  edge [fontname=\"") + kFont + "\", fontsize=9, color=\"#505050\"];\n";
  WriteClusters(out, map);
  for (const MapEdge& edge : map.edges) {
    out += "  " + NodeId(edge.from) + " -> " + NodeId(edge.to) + " [label=\"" + EdgeLabel(edge) + "\"";
    if (edge.picks.empty()) out += ", style=dashed";
    out += "];\n";
  }
  return out + "}\n";
}

}  // namespace pelmot::storymap
