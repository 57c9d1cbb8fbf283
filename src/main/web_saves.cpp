// The browser page's "Export saves" and "Import saves" (web_page.js): the
// same archive and the same checks as --export-saves and --import-saves,
// with the browser edition's own ustar reader. An import is staged, with
// its journal, and copied to IndexedDB; the page then loads again, and the
// start moves the files into place before the game reads any, so the game
// that was playing never writes over them.
#include <string>
#include <vector>

#include "app/saves_transfer.h"
#include "app/state_json.h"
#include "persist/data_files.h"
#include "platform/common/files.h"
#include "platform/common/staged_import.h"
#include "platform/ustar.h"
#include "platform/web/web_codepage.h"
#include "platform/web/web_page.h"
#include "platform/web/web_paths.h"
#include "platform/web/web_storage.h"

namespace pelmot {
namespace {

struct PageSaves {
  SystemFiles files;
  WebCodePage codePage;
  UstarFormat format;
  std::string folder = DataFolderBelow(std::string(kWebDataRoot));
  std::string archive;                // the last export
  std::string text;                   // what the page is told, as JSON
  std::vector<ArchiveMember> checked;  // the import waiting for the player's yes
};

PageSaves& Saves() {
  static PageSaves saves;
  return saves;
}

std::string JsonList(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ",") + JsonString(name);
  return "[" + out + "]";
}

int Refuse(PageSaves& s, const std::string& why) {
  s.checked.clear();
  s.text = "{\"refused\":" + JsonString(why) + "}";
  return 0;
}

}  // namespace
}  // namespace pelmot

// The data files as an archive: its size (its bytes at
// pelmot_saves_bytes), or -1 with the reason in pelmot_saves_text. Files
// the game could not load are left out and listed there.
PELMOT_WEB_EXPORT int pelmot_export_saves() {
  pelmot::PageSaves& s = pelmot::Saves();
  const pelmot::CollectedSaves saves = pelmot::CollectSaves(s.files, s.folder, s.codePage);
  std::string error;
  auto archive = s.format.Pack(saves.files, error);
  if (!archive) {
    pelmot::Refuse(s, error);
    return -1;
  }
  s.archive = std::move(*archive);
  s.text = "{\"count\":" + std::to_string(saves.files.size()) + ",\"leftOut\":" + pelmot::JsonList(saves.leftOut) + "}";
  return static_cast<int>(s.archive.size());
}

PELMOT_WEB_EXPORT const char* pelmot_saves_bytes() { return pelmot::Saves().archive.data(); }
PELMOT_WEB_EXPORT const char* pelmot_saves_text() { return pelmot::Saves().text.c_str(); }

// Checks an archive the player chose: 0 refused ({"refused": why}), 1
// nothing would change, 2 ready ({"replaced": [...], "added": [...]}) for
// pelmot_stage_import once the player agrees.
PELMOT_WEB_EXPORT int pelmot_check_import(const char* bytes, int size) {
  pelmot::PageSaves& s = pelmot::Saves();
  if (size < 0 || static_cast<std::size_t>(size) > pelmot::kMaxSavesArchiveBytes)
    return pelmot::Refuse(s, "the file is too large for an archive of saves");
  std::string error;
  auto members = pelmot::CheckedSaves(s.format, std::string(bytes, static_cast<std::size_t>(size)), s.codePage, error);
  if (!members) return pelmot::Refuse(s, error);
  if (members->empty()) return pelmot::Refuse(s, "it holds none of the game's data files");
  const pelmot::ImportPlan plan = pelmot::PlanImport(s.files, s.folder, *members);
  s.checked = plan.toWrite;
  s.text = "{\"replaced\":" + pelmot::JsonList(plan.replaced) + ",\"added\":" + pelmot::JsonList(plan.added) + "}";
  return plan.toWrite.empty() ? 1 : 2;
}

// Stages the checked import and starts its copy to IndexedDB: 1 staged, 0
// failed ({"refused": why}; nothing staged).
PELMOT_WEB_EXPORT int pelmot_stage_import() {
  pelmot::PageSaves& s = pelmot::Saves();
  std::string error;
  if (s.checked.empty()) return pelmot::Refuse(s, "no archive was checked");
  if (!pelmot::StageImport(s.folder, s.checked, error)) return pelmot::Refuse(s, error);
  s.checked.clear();
  pelmot::RequestSavesSync();
  return 1;
}
