// The story map as Graphviz source and as JSON.
#pragma once

#include <string>
#include <vector>

#include "storymap/story_map.h"

namespace pelmot::storymap {

// Scenes in boxes grouped by day, top to bottom; endings gold, the game
// over red; each way on labelled with its picks, its Condition and changes.
std::string DotText(const StoryMap& map);

// The scripts of the shortest sequences, as written beside the map: by
// outcome and play, "" where there is none.
using ScriptPaths = std::vector<std::array<std::string, 2>>;

std::string JsonText(const StoryMap& map, const ScriptPaths& scripts);

// At most `limit` characters (code points) of UTF-8 text, "…" marking a cut.
std::string Shorten(const std::string& utf8, std::size_t limit);

}  // namespace pelmot::storymap
