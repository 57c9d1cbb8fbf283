// `pelmot --story-map FILE`: the story map in the format FILE's extension
// names (.svg, .json, .dot), the shortest route to each ending as scripts
// beside it, and the figures on standard output.
#pragma once

#include <iosfwd>
#include <string>

namespace pelmot {
class Files;
class Programs;
}  // namespace pelmot

namespace pelmot::storymap {

struct MapRequest {
  std::string output;      // FILE
  std::string contentDir;  // where the scenario is
  std::string dataDir;     // a data root whose progress to mark; "" for none
};

// 0 when written; 1 with the reason on `err`.
int WriteStoryMap(const MapRequest& request, Files& files, Programs& programs, std::ostream& out, std::ostream& err);

}  // namespace pelmot::storymap
