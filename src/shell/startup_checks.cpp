#include "shell/startup_checks.h"

#include <ostream>

#include "platform/services.h"
#include "shell/startup.h"
#include "persist/data_files.h"

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
      "ゲームのデータのフォルダーがありません。\n" + ShortPath(contentDir) +
          "\n--content で正しいフォルダーを指定してください。",
      "pelmot: the content folder " + contentDir +
          " does not exist; give the game's own folder with --content DIR"};
}

std::optional<StartUpProblem> UnusableDataFolder(Files& files, const std::string& dataRoot) {
  const std::string folder = DataFolderBelow(dataRoot);
  std::string player, terminal;
  switch (files.CheckDataFolder(folder, kLongestDataFileName)) {
    case FolderFault::kNone:
      return std::nullopt;
    case FolderFault::kPathTooLong:
      player = "セーブデータのフォルダーのパスが長すぎます。";
      terminal = "its path is longer than the system allows";
      break;
    case FolderFault::kMissing:
      player = "セーブデータのフォルダーを作れません。";
      terminal = "it cannot be made";
      break;
    case FolderFault::kNotWritable:
      player = "セーブデータのフォルダーに書き込めません。";
      terminal = "it cannot be written";
      break;
  }
  return StartUpProblem{
      player + "\n" + ShortPath(folder) +
          "\nこのままでは何もセーブされません。--data-dir で別のフォルダーを指定してください。",
      "pelmot: the data folder " + folder + " cannot be used: " + terminal +
          "; nothing will be saved (choose another data root with --data-dir DIR or XDG_DATA_HOME)"};
}

// In English: without a font, the box may only be readable where the
// desktop draws it with a font of its own.
StartUpProblem NoFont(const std::string& why) {
  return {"No font for the game's text: every character shows as a block.\n"
          "Install the package fonts-ipafont-gothic (IPAGothic), or MS Gothic.",
          "pelmot: " + why};
}

void TellProblem(const StartUpProblem& problem, Dialogs& dialogs, std::ostream& err) {
  err << problem.forTerminal << std::endl;
  dialogs.ShowMessage(problem.forPlayer);
}

}  // namespace pelmot
