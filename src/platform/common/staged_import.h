// Replacing several data files at once, all or none. The new files are
// written into a staging folder beside them, then a journal naming them is
// written whole; from that moment the import counts as made, and the files
// are renamed into place one by one. An import cut short is finished (the
// journal is there) or undone (only the staging folder is) by
// FinishStagedImport, which the game and the next import run before they
// read anything.
#pragma once

#include <string>
#include <vector>

#include "platform/save_archive.h"

namespace pelmot {

inline constexpr const char* kImportJournalName = "pelmot-import.journal";
inline constexpr const char* kImportStagingName = "pelmot-import.staging";

// Writes `files` into `folder`'s staging folder and the journal naming them,
// each flushed to disk. False, with `error` and nothing staged, on failure.
bool StageImport(const std::string& folder, const std::vector<ArchiveMember>& files, std::string& error);

enum class StagedImport {
  kNone,      // nothing was waiting
  kFinished,  // a journal's files were moved into place
  kUndone,    // a staging folder without a complete journal was removed
  kFailed,    // a file could not be moved; the journal stays for the next try
};
// Finishes or undoes what an import left in `folder`. Only the names in
// `known` are ever moved, and only regular files.
StagedImport FinishStagedImport(const std::string& folder, const std::vector<std::string>& known, std::string& error);

}  // namespace pelmot
