#include "app/options.h"

#include <string_view>

namespace pelmot {

std::string UsageText() {
  return "Usage: pelmot [OPTIONS]\n"
         "Plays PELMOT in a window of 800 x 600 pixels.\n"
         "\n"
         "  --data-dir DIR       keep the save data in DIR/TORMVEL/PELMOT\n"
         "                       (default: $XDG_DATA_HOME, else ~/.local/share)\n"
         "  --content DIR        read pictures, the logo movie and the scenario from DIR\n"
         "                       (default: the program's own folder, else the installed\n"
         "                       content in ../share/pelmot beside it)\n"
         "  --headless --script FILE\n"
         "                       play without a window, following the commands in FILE\n"
         "                       (- for standard input); see docs/scripting.md\n"
         "  --check-content [DIR] check the scenario in DIR (default: the content folder)\n"
         "                       and exit: 0 when it is sound, 1 with a list of problems;\n"
         "                       each lang/CODE.po's gaps are warned of, never failed\n"
         "  --inspect-save FILE  print a save slot, SAVEDATE.DAT or SAVEDATA.DAT in words\n"
         "  --story-map FILE     draw the story's scenes and choices into FILE (.svg, .json\n"
         "                       or .dot), the shortest route to each ending beside it;\n"
         "                       with --data-dir, mark what that data folder has seen\n"
         "  --lang CODE          play in the language of lang/CODE.po in the content folder\n"
         "                       (ja: the original)\n"
         "  --extract-text FILE  write the translation template of the content folder's\n"
         "                       scenario and the interface to FILE (.pot)\n"
         "  --author             the author's tools: an edited scenario or picture shows at\n"
         "                       once (a scenario's problem on a strip below); F12 shows\n"
         "                       where the story stands and its values, C then copies the\n"
         "                       route so far as a headless script\n"
         "  --check-content DIR --watch\n"
         "                       check again on every change; print new and mended problems\n"
         "  --warp SCENE[:LANE:sSTEP]\n"
         "                       start the story there (as 12, 0:s5 or 12:p0:s33; LANE as the\n"
         "                       scenario's headers write it: p0, p1, C6, C0,3) with the values\n"
         "                       of the route with the fewest picks from a new game, printed on\n"
         "                       stderr as a headless script; writes none of the data files\n"
         "  --trace              name the handler each press and key reaches, on stderr\n"
         "  --export-saves FILE  write the saves and every data file of the data root into\n"
         "                       FILE, a tar archive; exit 0 when written, 1 when not\n"
         "  --import-saves FILE  bring back the files of such an archive, each checked as a\n"
         "                       load checks it; asks (y/N) before replacing any; refused\n"
         "                       while the game runs on that data root; exit 0 when done,\n"
         "                       1 when refused or failed (then nothing was changed)\n"
         "  --yes                with --import-saves: replace without asking\n"
         "  --help, -h           show this text\n"
         "  --version            show the version\n"
         "\n"
         "Exit status:\n"
         "  0  the game ended normally, or a script ran to its end, or a check found\n"
         "     nothing wrong (also when another copy already plays on the data root)\n"
         "  1  the game could not start or run; an expect of the script failed; a\n"
         "     check found problems; a file could not be read or written\n"
         "  2  a mistake on the command line, or in the script; an unknown --lang\n"
         "  3  headless: another copy plays on the data root, so nothing was played\n"
         "  4  headless: the content folder is missing or its scenario has problems,\n"
         "     --lang names no translation there, or --warp names no place to start\n";
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        error = std::string(arg) + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    if (arg == "--headless")
      o.headless = true;
    else if (arg == "--help" || arg == "-h")
      o.help = true;
    else if (arg == "--version")
      o.version = true;
    else if (arg == "--trace")
      o.trace = true;
    else if (arg == "--author")
      o.author = true;
    else if (arg == "--watch")
      o.watch = true;
    else if (arg == "--yes")
      o.yes = true;
    else if (arg == "--export-saves") {
      if (!value(o.exportSaves)) return std::nullopt;
    } else if (arg == "--import-saves") {
      if (!value(o.importSaves)) return std::nullopt;
    } else if (arg == "--script") {
      if (!value(o.script)) return std::nullopt;
    } else if (arg == "--data-dir") {
      if (!value(o.dataDir)) return std::nullopt;
    } else if (arg == "--content") {
      if (!value(o.contentDir)) return std::nullopt;
    } else if (arg == "--inspect-save") {
      if (!value(o.inspectSave)) return std::nullopt;
    } else if (arg == "--story-map") {
      if (!value(o.storyMap)) return std::nullopt;
    } else if (arg == "--warp") {
      if (!value(o.warp)) return std::nullopt;
    } else if (arg == "--lang") {
      if (!value(o.language)) return std::nullopt;
    } else if (arg == "--extract-text") {
      if (!value(o.extractText)) return std::nullopt;
    } else if (arg == "--check-content") {
      o.checkContent = true;
      if (i + 1 < argc && argv[i + 1][0] != '-') o.contentDir = argv[++i];
    } else {
      error = "unknown option " + std::string(arg);
      return std::nullopt;
    }
  }
  if (o.headless && o.script.empty()) {
    error = "--headless needs --script FILE";
    return std::nullopt;
  }
  if (!o.exportSaves.empty() && !o.importSaves.empty()) {
    error = "--export-saves and --import-saves go one at a time";
    return std::nullopt;
  }
  if (o.yes && o.importSaves.empty()) {
    error = "--yes is for --import-saves";
    return std::nullopt;
  }
  if (o.watch && !o.checkContent) {
    error = "--watch is for --check-content";
    return std::nullopt;
  }
  if (!o.script.empty() && !o.headless) {
    error = "--script is for --headless runs";
    return std::nullopt;
  }
  return o;
}

}  // namespace pelmot
