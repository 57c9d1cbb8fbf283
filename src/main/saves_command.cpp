#include "main/saves_command.h"

#include <ostream>

#include "app/saves_transfer.h"
#include "main/desktop.h"
#include "main/import_recovery.h"
#include "persist/data_files.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"
#include "platform/common/instance_lock.h"
#include "platform/common/libarchive_format.h"
#include "platform/common/staged_import.h"
#include "platform/common/terminal.h"
#include "shell/startup.h"

namespace pelmot {
namespace {

constexpr const char* kNothingChanged = "; nothing was changed\n";

// Asks before anything is replaced, unless --yes; without a terminal to ask
// on, refuses.
bool MayReplace(const Options& options, const ImportPlan& plan, std::ostream& err) {
  if (plan.replaced.empty() || options.yes) return true;
  const std::string list = NameList(plan.replaced);
  if (!StandardInputIsTerminal()) {
    err << "pelmot: refused: the import would replace " << list
        << ", and there is no terminal to ask on (give --yes to replace them)" << kNothingChanged;
    return false;
  }
  std::string question = "The import would replace " + list;
  if (!plan.added.empty()) question += " and add " + NameList(plan.added);
  if (AskYesOnTerminal(question + ".\nReplace them? [y/N] ", err)) return true;
  err << "pelmot: not replaced" << kNothingChanged;
  return false;
}

}  // namespace

int ExportSaves(const Options& options, std::ostream& out, std::ostream& err) {
  const std::string root = ResolvePaths(options).dataRoot;
  const std::string folder = DataFolderBelow(root);
  SystemFiles files;
  // A game running there has finished any import already; otherwise hold
  // the lock, so no import moves files while they are read.
  FileInstanceLock lock;
  if (files.IsFolder(folder) && lock.Acquire(folder) == InstanceLock::Result::kAcquired &&
      !FinishCutShortImport(root, err))
    return 1;
  Cp932CodePage codePage;
  const CollectedSaves saves = CollectSaves(files, folder, codePage);
  for (const std::string& why : saves.leftOut)
    err << "pelmot: warning: left out of the archive, as the game could not load it: " << why << "\n";
  LibarchiveFormat format;
  std::string error;
  const auto archive = format.Pack(saves.files, error);
  if (!archive || !files.ReplaceWhole(options.exportSaves, *archive, error)) {
    err << "pelmot: cannot write " << options.exportSaves << ": " << error << "\n";
    return 1;
  }
  std::vector<std::string> names;
  for (const ArchiveMember& m : saves.files) names.push_back(m.name);
  out << "pelmot: wrote " << names.size() << " data file(s) of " << folder << " to " << options.exportSaves
      << (names.empty() ? "" : ": " + NameList(names)) << "\n";
  return 0;
}

int ImportSaves(const Options& options, std::ostream& out, std::ostream& err) {
  SystemFiles files;
  std::string error;
  const auto archive = ReadWholeFile(options.importSaves, kMaxSavesArchiveBytes, error);
  if (!archive) {
    err << "pelmot: refused: cannot read " << error << kNothingChanged;
    return 1;
  }
  Cp932CodePage codePage;
  LibarchiveFormat format;
  auto members = CheckedSaves(format, *archive, codePage, error);
  if (!members || members->empty()) {
    err << "pelmot: refused " << options.importSaves << ": "
        << (members ? "it holds none of the game's data files" : error) << kNothingChanged;
    return 1;
  }
  const std::string root = ResolvePaths(options).dataRoot;
  const std::string folder = DataFolderBelow(root);
  FileInstanceLock lock;
  if (!ClaimSingleInstance(files, root, lock)) {
    err << "pelmot: refused: the game runs on the data root " << root << "; close it, then import again"
        << kNothingChanged;
    return 1;
  }
  if (!lock.Held()) {
    err << "pelmot: refused: cannot lock the data folder " << folder << kNothingChanged;
    return 1;
  }
  if (!FinishCutShortImport(root, err)) return 1;
  const ImportPlan plan = PlanImport(files, folder, *members);
  if (plan.toWrite.empty()) {
    out << "pelmot: " << folder << " already holds these files as they are; nothing to change\n";
    return 0;
  }
  if (!MayReplace(options, plan, err)) return 1;
  if (!StageImport(folder, plan.toWrite, error)) {
    err << "pelmot: cannot import into " << folder << ": " << error << kNothingChanged;
    return 1;
  }
  // From here the import counts as made: files that cannot be moved now are
  // moved at the next start.
  if (FinishStagedImport(folder, SavesFileNames(), error) == StagedImport::kFailed) {
    err << "pelmot: the import into " << folder << " is not finished (" << error
        << "); the game finishes it when it next starts\n";
    return 1;
  }
  out << "pelmot: imported into " << folder << (plan.replaced.empty() ? "" : "; replaced " + NameList(plan.replaced))
      << (plan.added.empty() ? "" : "; added " + NameList(plan.added)) << "\n";
  return 0;
}

}  // namespace pelmot
