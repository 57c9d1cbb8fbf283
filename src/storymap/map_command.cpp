#include "storymap/map_command.h"

#include <algorithm>
#include <iomanip>
#include <map>
#include <ostream>

#include "persist/data_files.h"
#include "platform/services.h"
#include "scenes/compose_story.h"
#include "scenes/content_check.h"
#include "scenes/story_structure.h"
#include "storymap/map_writers.h"
#include "storymap/route_script.h"

namespace pelmot::storymap {
namespace {

// The file name a path ends in: "out/map.svg" has "map.svg".
std::string FileName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file name's extension, its dot included: "" for none, as for ".hidden",
// "." and "..".
std::string Extension(const std::string& path) {
  const std::string name = FileName(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0 || name == "..") return "";
  return name.substr(dot);
}

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

bool WriteText(Files& files, const std::string& path, const std::string& text, std::ostream& err) {
  std::string error;
  if (files.ReplaceWhole(path, text, error)) return true;
  err << "pelmot: " << error << "\n";
  return false;
}

std::optional<SeenFlags> ReadProgress(Files& files, const std::string& dataDir, std::ostream& err) {
  if (dataDir.empty()) return std::nullopt;
  const std::string path = DataFolderBelow(dataDir) + "/SAVEDATA.DAT";
  std::string error;
  std::optional<std::string> bytes = files.ReadWhole(path, kMaxDataFileBytes, error);
  if (!bytes) err << "pelmot: " << path << " cannot be read; the map shows nothing seen\n";
  return DecodeCgSeen(bytes.value_or(""));
}

// The ending a first play reaches with the fewest picks: a later play's
// script plays it first, so that EndingNo is no longer 0.
const OutcomeFigures* QuickestEnding(const StoryMap& map, int besides) {
  const OutcomeFigures* best = nullptr;
  for (const OutcomeFigures& o : map.outcomes) {
    const auto& route = o.plays[kFirstPlay].shortest;
    if (o.outcome >= kGameOver || o.outcome == besides || !route) continue;
    if (!best || route->size() < best->plays[kFirstPlay].shortest->size()) best = &o;
  }
  return best;
}

// A picture the ending's scene shows and no other scene does.
int ProofPicture(const StoryMap& map, int outcome) {
  if (outcome >= kGameOver) return 0;
  std::map<int, int> scenes;
  for (const MapNode& node : map.nodes)
    for (int picture : node.pictures) ++scenes[picture];
  for (const MapNode& node : map.nodes)
    if (node.scene == kFirstEndingScene + outcome)
      for (int picture : node.pictures)
        if (scenes[picture] == 1) return picture;
  return 0;
}

RouteScript ScriptFor(const StoryMap& map, const OutcomeFigures& o, int play, const OutcomeFigures* first) {
  RouteScript script;
  script.proofPicture = ProofPicture(map, o.outcome);
  const std::string where = o.outcome == kGameOver ? "the game over" : "ending scene " + OutcomeName(o.outcome);
  script.title = "The fewest picks to " + where + (play == kFirstPlay ? ", in a first play." : ", after an ending.");
  script.picks = *o.plays[play].shortest;
  script.gameOver = o.outcome == kGameOver;
  if (play == kAfterEnding && first) {
    script.firstRun = *first->plays[kFirstPlay].shortest;
    script.firstRunEnding = first->outcome + 1;
  }
  script.expectEnding = script.gameOver ? script.firstRunEnding : o.outcome + 1;
  return script;
}

std::string ScriptName(int outcome, int play) {
  const std::string name = outcome == kGameOver ? "game-over" : OutcomeName(outcome);
  return name + (play == kFirstPlay ? "" : "-after-an-ending") + ".txt";
}

// The scripts go to a folder beside the map: "map.svg" has "map-routes/".
std::optional<ScriptPaths> WriteScripts(Files& files, const StoryMap& map, const std::string& output,
                                        std::ostream& err) {
  const std::string name = FileName(output);
  const std::string stem = name.substr(0, name.size() - Extension(output).size());
  const std::string folder = output.substr(0, output.size() - name.size()) + stem + "-routes";
  std::string error;
  if (!files.MakeFolders(folder, error)) {
    err << "pelmot: cannot make " << folder << ": " << error << "\n";
    return std::nullopt;
  }
  ScriptPaths paths;
  for (const OutcomeFigures& o : map.outcomes) {
    paths.push_back({});
    // A later play first reaches another ending, so the route's own shows.
    const OutcomeFigures* first = QuickestEnding(map, o.outcome);
    for (int play : {kFirstPlay, kAfterEnding}) {
      if (!o.plays[play].shortest || o.outcome == kStuck || (play == kAfterEnding && !first)) continue;
      const std::string path = folder + "/" + ScriptName(o.outcome, play);
      if (!WriteText(files, path, ScriptText(ScriptFor(map, o, play, first)), err)) return std::nullopt;
      paths.back()[play] = path;
    }
  }
  return paths;
}

bool WriteSvg(Files& files, Programs& programs, const std::string& output, const std::string& dot, std::ostream& err) {
  const std::string source = output + ".dot~";
  if (!WriteText(files, source, dot, err)) return false;
  std::string error;
  const bool drawn = programs.Run({"dot", "-Tsvg", "-o", output, source}, error);
  files.Remove(source);
  if (!drawn) err << "pelmot: " << error << " (the drawing needs Graphviz's dot; .dot and .json do not)\n";
  return drawn;
}

std::string Picks(const PlayFigures& play) { return play.shortest ? std::to_string(play.shortest->size()) : "-"; }

void PrintFigures(const StoryMap& map, std::ostream& out) {
  out << "outcome     first play: sequences  fewest picks   after an ending: sequences  fewest picks\n";
  for (const OutcomeFigures& o : map.outcomes) {
    out << std::left << std::setw(12) << OutcomeName(o.outcome) << std::right << std::setw(22)
        << o.plays[kFirstPlay].sequences << std::setw(14) << Picks(o.plays[kFirstPlay]) << std::setw(30)
        << o.plays[kAfterEnding].sequences << std::setw(14) << Picks(o.plays[kAfterEnding]) << "\n";
  }
  out << map.statesWalked << " scene entries walked\n";
}

}  // namespace

int WriteStoryMap(const MapRequest& request, Files& files, Programs& programs, std::ostream& out, std::ostream& err) {
  const std::string extension = Lowercase(Extension(request.output));
  if (extension != ".svg" && extension != ".json" && extension != ".dot") {
    err << "pelmot: --story-map writes .svg, .json or .dot, not \"" << request.output << "\"\n";
    return 1;
  }
  const std::string scenario = (request.contentDir.empty() ? "." : request.contentDir) + "/" + kScenarioFileName;
  LoadedScenario loaded = LoadScenarioFile(files, scenario, StoryStructure());
  if (!loaded.problems.empty()) {
    for (const std::string& problem : loaded.problems) err << problem << "\n";
    err << "pelmot: the scenario has problems; no map\n";
    return 1;
  }
  const Story story = ComposeStory(StoryStructure(), *loaded.content);
  const StoryMap map = BuildStoryMap(story, ReadProgress(files, request.dataDir, err));
  const std::optional<ScriptPaths> scripts = WriteScripts(files, map, request.output, err);
  if (!scripts) return 1;
  bool written = false;
  if (extension == ".json")
    written = WriteText(files, request.output, JsonText(map, *scripts), err);
  else if (extension == ".dot")
    written = WriteText(files, request.output, DotText(map), err);
  else
    written = WriteSvg(files, programs, request.output, DotText(map), err);
  if (!written) return 1;
  PrintFigures(map, out);
  return 0;
}

}  // namespace pelmot::storymap
