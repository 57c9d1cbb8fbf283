// The saves in the browser's storage. The data folder is an IndexedDB file
// system (Emscripten's IDBFS), loaded before the game starts; every whole
// file the game writes goes to IndexedDB before the game takes its next
// input (the window holds input back while SavesSyncing()).
#pragma once

#include <functional>
#include <string>

#include "platform/common/files.h"

namespace pelmot {

// Starts copying the data folder to IndexedDB; a copy asked for while one
// runs follows it.
void RequestSavesSync();
// True while a copy runs or waits.
bool SavesSyncing();
// Runs `failed` with the browser's reason whenever a copy fails; `reading`
// when the saves could not be read at the start (the page then copies
// nothing back, so the stored saves stay as they were).
void OnSavesSyncFailure(std::function<void(bool reading, const std::string& reason)> failed);

// The game's files in the page's memory file system, each change to the data
// folder copied to IndexedDB.
class WebFiles : public SystemFiles {
 public:
  bool ReplaceWhole(const std::string& path, const std::string& bytes, std::string& error) override;
  void RemoveStaleTemporaries(const std::string& folder) override;
  bool EnsureExists(const std::string& path) override;
  void Remove(const std::string& path) override;
};

}  // namespace pelmot
