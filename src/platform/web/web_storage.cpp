#include "platform/web/web_storage.h"

#include <emscripten.h>

#include <utility>

#include "platform/web/web_page.h"

namespace pelmot {
namespace {

std::function<void(bool, const std::string&)>& FailureListener() {
  static std::function<void(bool, const std::string&)> listener;
  return listener;
}

}  // namespace

// Module.pelmotSyncSaves and Module.pelmotSyncing are defined by the page's
// script (web_page.js).
void RequestSavesSync() {
  EM_ASM({
    if (Module.pelmotSyncSaves) Module.pelmotSyncSaves();
  });
}

bool SavesSyncing() { return EM_ASM_INT({ return Module.pelmotSyncing ? 1 : 0; }) != 0; }

void OnSavesSyncFailure(std::function<void(bool, const std::string&)> failed) {
  FailureListener() = std::move(failed);
}

bool WebFiles::ReplaceWhole(const std::string& path, const std::string& bytes, std::string& error) {
  const bool replaced = SystemFiles::ReplaceWhole(path, bytes, error);
  if (replaced) RequestSavesSync();
  return replaced;
}

void WebFiles::RemoveStaleTemporaries(const std::string& folder) {
  SystemFiles::RemoveStaleTemporaries(folder);
  RequestSavesSync();
}

bool WebFiles::EnsureExists(const std::string& path) {
  const bool exists = SystemFiles::EnsureExists(path);
  RequestSavesSync();
  return exists;
}

void WebFiles::Remove(const std::string& path) {
  SystemFiles::Remove(path);
  RequestSavesSync();
}

}  // namespace pelmot

// Called by the page when IndexedDB refused a copy (`reading`: the first,
// which brings the saves in).
PELMOT_WEB_EXPORT void pelmot_saves_sync_failed(int reading, const char* reason) {
  if (auto& listener = pelmot::FailureListener()) listener(reading != 0, reason ? reason : "");
}
