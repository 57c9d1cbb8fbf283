#include "shell/startup_checks.h"

#include <ostream>

#include "persist/data_files.h"
#include "platform/services.h"
#include "platform/ui_text.h"
#include "shell/startup.h"

namespace pelmot {
namespace {

// Room for the longest file name the game writes in the data folder, its
// temporary names included.
constexpr std::size_t kLongestDataFileName = 40;

// A path short enough for a message box: its middle gives way to "…".
std::string ShortPath(const std::string& path) {
  constexpr std::size_t kKeep = 48;
  if (path.size() <= 2 * kKeep + 3) return path;
  return path.substr(0, kKeep) + "…" + path.substr(path.size() - kKeep);
}

}  // namespace

std::optional<StartUpProblem> MissingContentFolder(Files& files, const std::string& contentDir) {
  if (files.IsFolder(contentDir)) return std::nullopt;
  return StartUpProblem{
      Ui(UiText::content_folder_missing) + "\n" + ShortPath(contentDir) + "\n" + Ui(UiText::content_folder_hint),
      "pelmot: the content folder " + contentDir + " does not exist; give the game's own folder with --content DIR"};
}

std::optional<StartUpProblem> UnusableDataFolder(Files& files, const std::string& dataRoot) {
  const std::string folder = DataFolderBelow(dataRoot);
  std::string player, terminal;
  switch (files.CheckDataFolder(folder, kLongestDataFileName)) {
    case FolderFault::kNone: return std::nullopt;
    case FolderFault::kPathTooLong:
      player = Ui(UiText::data_folder_path_too_long);
      terminal = "its path is longer than the system allows";
      break;
    case FolderFault::kMissing:
      player = Ui(UiText::data_folder_cannot_make);
      terminal = "it cannot be made";
      break;
    case FolderFault::kNotWritable:
      player = Ui(UiText::data_folder_not_writable);
      terminal = "it cannot be written";
      break;
  }
  return StartUpProblem{player + "\n" + ShortPath(folder) + "\n" + Ui(UiText::data_folder_nothing_saved),
                        "pelmot: the data folder " + folder + " cannot be used: " + terminal +
                            "; nothing will be saved (choose another data root with --data-dir DIR or XDG_DATA_HOME)"};
}

// In English: without a font, the box may only be readable where the
// desktop draws it with a font of its own.
StartUpProblem NoFont(const std::string& why) { return {Ui(UiText::no_font), "pelmot: " + why}; }

void TellProblem(const StartUpProblem& problem, Dialogs& dialogs, std::ostream& err) {
  err << problem.forTerminal << std::endl;
  dialogs.ShowMessage(problem.forPlayer);
}

}  // namespace pelmot
