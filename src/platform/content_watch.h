// What changed in the content folder while the game runs, for an author
// who edits it (--author). The platform watches the folder; the game only
// asks what changed since it last looked.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace pelmot {

struct ContentChanges {
  // The files written, renamed into place or added, by their paths within
  // the content folder ("scenario.txt", "PELMOTPIC/7.png"), each once.
  std::vector<std::string> files;
  // Everything counts as changed: a reload asked for on demand.
  bool everything = false;

  bool Any() const { return everything || !files.empty(); }
  // Whether `file` (a path within the content folder) may have changed.
  bool Names(const std::string& file) const {
    return everything || std::find(files.begin(), files.end(), file) != files.end();
  }
  static ContentChanges Everything() { return {{}, true}; }
};

class ContentWatch {
 public:
  virtual ~ContentWatch() = default;
  // What changed since the last call; never blocks.
  virtual ContentChanges Take() = 0;
  // Blocks until something changed; false once the watch cannot go on.
  virtual bool Wait() = 0;
};

}  // namespace pelmot
