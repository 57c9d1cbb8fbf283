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
  bool trace = false;  // name the handler each press and key reaches, on stderr
  bool checkContent = false;
  std::string inspectSave;  // a data file to print in words
  std::string storyMap;     // where to write the story map
  std::string language;     // --lang: a catalog of the content folder; empty: the remembered one
  std::string extractText;  // where to write the translation template
  bool author = false;      // the author's tools: the overlay (F12)
  std::string warp;         // start the story at this place (SCENE[:LANE:sSTEP])
};

// Parses argv; on a mistake returns nothing and sets `error`.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);
std::string UsageText();

}  // namespace pelmot
