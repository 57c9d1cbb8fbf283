// An import of saves cut short (the program killed while it moved the files
// into place) is finished or undone before anything reads the data files:
// at the start of the game, in any edition, and of the next import.
#pragma once

#include <ostream>
#include <string>

#include "app/saves_transfer.h"
#include "persist/data_files.h"
#include "platform/common/staged_import.h"

namespace pelmot {

// Run with the data root's instance lock held; says on `err` what it did.
// False when files could not be moved into place (the journal stays).
inline bool FinishCutShortImport(const std::string& dataRoot, std::ostream& err) {
  const std::string folder = DataFolderBelow(dataRoot);
  std::string error;
  switch (FinishStagedImport(folder, SavesFileNames(), error)) {
    case StagedImport::kNone:
      return true;
    case StagedImport::kFinished:
      err << "pelmot: an import of saves into " << folder << " was cut short; it is finished now\n";
      return true;
    case StagedImport::kUndone:
      err << "pelmot: an import of saves into " << folder << " was cut short before it was complete; it is undone\n";
      return true;
    case StagedImport::kFailed:
      break;
  }
  err << "pelmot: an import of saves into " << folder << " was cut short and cannot be finished: " << error << "\n";
  return false;
}

}  // namespace pelmot
