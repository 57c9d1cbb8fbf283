#include "platform/common/staged_import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "platform/common/files.h"

namespace pelmot {
namespace {

constexpr const char* kJournalHeader = "PELMOT import 1";
constexpr std::size_t kMaxJournalBytes = 4096;

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool Exists(const std::string& path, bool* regular = nullptr) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (regular) *regular = S_ISREG(st.st_mode);
  return true;
}

// remove_all removes links themselves, never what they point at.
void RemoveStaging(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder + "/" + kImportStagingName, ignored);
  SyncFolder(folder);
}

// The names of a complete journal; nothing for any other text.
std::optional<std::vector<std::string>> JournalNames(const std::string& text, const std::vector<std::string>& known) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != kJournalHeader) return std::nullopt;
  std::vector<std::string> names;
  while (std::getline(lines, line)) {
    if (std::find(known.begin(), known.end(), line) == known.end()) return std::nullopt;
    names.push_back(line);
  }
  return names;
}

bool MoveIntoPlace(const std::string& folder, const std::vector<std::string>& names, std::string& error) {
  const std::string staging = folder + "/" + kImportStagingName;
  for (const std::string& name : names) {
    const std::string from = staging + "/" + name;
    bool regular = false;
    if (!Exists(from, &regular) || !regular) continue;  // moved before the cut, or not ours
    if (::rename(from.c_str(), (folder + "/" + name).c_str()) != 0) {
      error = name + ": " + std::strerror(errno);
      return false;
    }
  }
  SyncFolder(folder);
  return true;
}

}  // namespace

bool StageImport(const std::string& folder, const std::vector<ArchiveMember>& files, std::string& error) {
  RemoveStaging(folder);
  const std::string staging = folder + "/" + kImportStagingName;
  if (::mkdir(staging.c_str(), 0700) != 0) {
    error = staging + ": " + std::strerror(errno);
    return false;
  }
  std::string journal = std::string(kJournalHeader) + "\n";
  for (const ArchiveMember& f : files) {
    if (!ReplaceFile(staging + "/" + f.name, f.bytes, error)) {
      error = f.name + ": " + error;
      RemoveStaging(folder);
      return false;
    }
    journal += f.name + "\n";
  }
  if (!ReplaceFile(folder + "/" + kImportJournalName, journal, error)) {
    RemoveStaging(folder);
    return false;
  }
  return true;
}

StagedImport FinishStagedImport(const std::string& folder, const std::vector<std::string>& known, std::string& error) {
  const std::string journalPath = folder + "/" + kImportJournalName;
  if (!Exists(journalPath)) {
    if (!Exists(folder + "/" + kImportStagingName)) return StagedImport::kNone;
    RemoveStaging(folder);
    return StagedImport::kUndone;
  }
  std::string readError;
  const auto text = ReadWholeFile(journalPath, kMaxJournalBytes, readError);
  const auto names = text ? JournalNames(*text, known) : std::nullopt;
  if (names && !MoveIntoPlace(folder, *names, error)) return StagedImport::kFailed;
  ::unlink(journalPath.c_str());
  RemoveStaging(folder);
  return names ? StagedImport::kFinished : StagedImport::kUndone;
}

}  // namespace pelmot
