// The command line.
#pragma once

#include <optional>
#include <string>

namespace pelmot {

struct Options {
  bool headless = false;
  std::string script;      // with --headless: the script, "-" for standard input
  std::string dataDir;     // empty: the default data root
  std::string contentDir;  // empty: the executable's folder
  bool help = false;
  bool version = false;
  bool trace = false;  // name the handler each press and key reaches, on stderr
  bool checkContent = false;
  std::string inspectSave;  // a data file to print in words
  std::string storyMap;     // where to write the story map
  std::string language;     // --lang: a catalog of the content folder; empty: the remembered one
  std::string extractText;  // where to write the translation template
  std::string exportSaves;  // where to write the archive of the data files
  std::string importSaves;  // an archive of data files to bring back
  bool yes = false;         // --yes: the import replaces without asking
  bool author = false;      // the author's tools: reload what changes, the overlay (F12)
  bool watch = false;       // with --check-content: check again on every change
  std::string warp;         // start the story at this place (SCENE[:LANE:sSTEP])
};

// Parses argv; on a mistake returns nothing and sets `error`.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);
std::string UsageText();

}  // namespace pelmot
