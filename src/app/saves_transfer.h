// The player's data files carried as one archive (--export-saves,
// --import-saves, the browser page's two buttons): which files they are,
// how each is checked before it may replace the game's own (as a load
// checks it), and what an import would change.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/save_archive.h"
#include "platform/services.h"

namespace pelmot {

// Every file the game keeps in its data folder: the ten slots, the quick
// save, SAVEDATE.DAT, SAVEDATA.DAT and the comforts' files.
const std::vector<std::string>& SavesFileNames();
// Only those names, each within its file's size limit.
ArchiveRules SavesArchiveRules();
// Why the game would refuse `bytes` as its file `name`; nothing when it
// would load them.
std::optional<std::string> SavesFileProblem(const std::string& name, const std::string& bytes, CodePage& codePage);

struct CollectedSaves {
  std::vector<ArchiveMember> files;  // in the order of SavesFileNames
  std::vector<std::string> leftOut;  // "NAME: why", each a file an import would refuse
};
// The data files in `folder` that are there and sound; a missing one is no
// error.
CollectedSaves CollectSaves(Files& files, const std::string& folder, CodePage& codePage);

// The members of an archive, every one checked as a load would check it;
// nothing, with `error` saying which member and why, when any is refused.
std::optional<std::vector<ArchiveMember>> CheckedSaves(ArchiveFormat& format, const std::string& archive,
                                                       CodePage& codePage, std::string& error);

// What importing `members` into `folder` would do to each file.
struct ImportPlan {
  std::vector<std::string> replaced;  // there now, with other bytes
  std::vector<std::string> added;     // not there now
  std::vector<std::string> unchanged;
  std::vector<ArchiveMember> toWrite;  // the replaced and the added
};
ImportPlan PlanImport(Files& files, const std::string& folder, const std::vector<ArchiveMember>& members);
// The names joined with ", ".
std::string NameList(const std::vector<std::string>& names);

}  // namespace pelmot
