#include "app/saves_transfer.h"

#include <algorithm>

#include "comforts/read_record.h"
#include "comforts/route_record.h"
#include "comforts/settings.h"
#include "persist/data_files.h"
#include "persist/stamps.h"
#include "scenes/playable_slot.h"
#include "scenes/story_structure.h"

namespace pelmot {
namespace {

constexpr int kSlotCount = 10;
constexpr const char* kQuickSave = "PELMOTQUICK.DAT";
constexpr const char* kSaveDate = "SAVEDATE.DAT";

bool IsSlotName(const std::string& name) {
  if (name == kQuickSave) return true;
  for (int i = 0; i < kSlotCount; ++i)
    if (name == SlotFileName(i)) return true;
  return false;
}

std::size_t LimitOf(const std::string& name) {
  if (name == "SETTINGS.TXT") return kMaxSettingsBytes;
  if (name == "READLINES.TXT") return kMaxReadRecordBytes;
  if (name == "ROUTES.TXT") return kMaxRouteRecordBytes;
  return kMaxDataFileBytes;
}

// The game reads each stamp it finds (entries missing at the end read as
// empty); a stamp that runs past the end, is not code page 932 or is no
// date and time is a damaged file.
std::optional<std::string> StampsProblem(const std::string& bytes, CodePage& codePage) {
  std::size_t at = 0;
  for (int entry = 0; entry < 11 && at < bytes.size(); ++entry) {
    if (at + 2 > bytes.size()) return std::string("it ends in the middle of a stamp");
    const std::size_t count =
        static_cast<unsigned char>(bytes[at]) | (static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
    at += 2;
    if (count > bytes.size() - at) return std::string("it ends in the middle of a stamp");
    const auto text = codePage.ToUtf8(bytes.substr(at, count));
    if (!text || (!text->empty() && !ParseStamp(*text))) return "stamp " + std::to_string(entry + 1) + " is no date";
    at += count;
  }
  return std::nullopt;
}

std::optional<std::string> SlotProblem(const std::string& bytes) {
  const auto record = DecodeSlot(bytes);
  if (!record) return "too short for a save (" + std::to_string(bytes.size()) + " bytes, a save has 30)";
  if (!Resumable(*record, &StoryStructure()))
    return "a save the game cannot resume (mode " + std::to_string(record->ResumeMode) + ", scene " +
           std::to_string(record->SavedScene) + ", step " + std::to_string(record->SceneStep) + ")";
  return std::nullopt;
}

}  // namespace

const std::vector<std::string>& SavesFileNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (int i = 0; i < kSlotCount; ++i) all.push_back(SlotFileName(i));
    for (const char* name : {kQuickSave, kSaveDate, "SAVEDATA.DAT", "SETTINGS.TXT", "READLINES.TXT", "ROUTES.TXT"})
      all.push_back(name);
    return all;
  }();
  return names;
}

ArchiveRules SavesArchiveRules() {
  ArchiveRules rules;
  rules.maxBytes = [](const std::string& name) -> std::optional<std::size_t> {
    const auto& names = SavesFileNames();
    if (std::find(names.begin(), names.end(), name) == names.end()) return std::nullopt;
    return LimitOf(name);
  };
  rules.maxMembers = SavesFileNames().size();
  return rules;
}

std::optional<std::string> SavesFileProblem(const std::string& name, const std::string& bytes, CodePage& codePage) {
  if (bytes.size() > LimitOf(name)) return std::string("larger than the game reads");
  if (IsSlotName(name)) return SlotProblem(bytes);
  if (name == kSaveDate) return StampsProblem(bytes, codePage);
  if (name == "SETTINGS.TXT" && !ParseSettings(bytes)) return std::string("settings the game does not know");
  if (name == "READLINES.TXT" && !ReadRecord::Decode(bytes)) return std::string("not a record of lines read");
  if (name == "ROUTES.TXT" && !RouteRecord::Decode(bytes)) return std::string("not a record of routes");
  return std::nullopt;  // SAVEDATA.DAT: the game reads whatever bytes are there
}

CollectedSaves CollectSaves(Files& files, const std::string& folder, CodePage& codePage) {
  CollectedSaves out;
  for (const std::string& name : SavesFileNames()) {
    const std::string path = folder + "/" + name;
    if (files.IsMissing(path)) continue;
    std::string error;
    auto bytes = files.ReadWhole(path, LimitOf(name), error);
    if (!bytes) {
      out.leftOut.push_back(name + ": " + error);
      continue;
    }
    if (auto problem = SavesFileProblem(name, *bytes, codePage)) {
      out.leftOut.push_back(name + ": " + *problem);
      continue;
    }
    out.files.push_back({name, std::move(*bytes)});
  }
  return out;
}

std::optional<std::vector<ArchiveMember>> CheckedSaves(ArchiveFormat& format, const std::string& archive,
                                                       CodePage& codePage, std::string& error) {
  auto members = format.Unpack(archive, SavesArchiveRules(), error);
  if (!members) return std::nullopt;
  for (const ArchiveMember& m : *members) {
    if (auto problem = SavesFileProblem(m.name, m.bytes, codePage)) {
      error = m.name + ": " + *problem;
      return std::nullopt;
    }
  }
  return members;
}

ImportPlan PlanImport(Files& files, const std::string& folder, const std::vector<ArchiveMember>& members) {
  ImportPlan plan;
  for (const ArchiveMember& m : members) {
    const std::string path = folder + "/" + m.name;
    std::string error;
    if (files.IsMissing(path)) {
      plan.added.push_back(m.name);
    } else if (files.ReadWhole(path, LimitOf(m.name), error) == m.bytes) {
      plan.unchanged.push_back(m.name);
      continue;
    } else {
      plan.replaced.push_back(m.name);
    }
    plan.toWrite.push_back(m);
  }
  return plan;
}

std::string NameList(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

}  // namespace pelmot
