#include "platform/common/libarchive_format.h"

#include <archive.h>
#include <archive_entry.h>

#include <ctime>
#include <memory>

#include "platform/common/lazy_library.h"

namespace pelmot {
namespace {

// Only the saves commands pack and unpack archives.
LazyLibrary libarchive{PELMOT_LIBARCHIVE_SONAME};
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_filetype);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_free);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_hardlink);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_new);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_pathname);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_set_filetype);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_set_mtime);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_set_pathname);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_set_perm);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_set_size);
PELMOT_LAZY_FUNCTION(libarchive, archive_entry_symlink);
PELMOT_LAZY_FUNCTION(libarchive, archive_error_string);
PELMOT_LAZY_FUNCTION(libarchive, archive_free);
PELMOT_LAZY_FUNCTION(libarchive, archive_read_data);
PELMOT_LAZY_FUNCTION(libarchive, archive_read_new);
PELMOT_LAZY_FUNCTION(libarchive, archive_read_next_header);
PELMOT_LAZY_FUNCTION(libarchive, archive_read_open_memory);
PELMOT_LAZY_FUNCTION(libarchive, archive_read_support_format_tar);
PELMOT_LAZY_FUNCTION(libarchive, archive_write_close);
PELMOT_LAZY_FUNCTION(libarchive, archive_write_data);
PELMOT_LAZY_FUNCTION(libarchive, archive_write_header);
PELMOT_LAZY_FUNCTION(libarchive, archive_write_new);
PELMOT_LAZY_FUNCTION(libarchive, archive_write_open);
PELMOT_LAZY_FUNCTION(libarchive, archive_write_set_format_ustar);

struct ArchiveCloser {
  void operator()(archive* a) const { archive_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveCloser>;
struct EntryCloser {
  void operator()(archive_entry* e) const { archive_entry_free(e); }
};

std::string ReasonOf(archive* a) {
  const char* text = archive_error_string(a);
  return text ? text : "the archive is damaged";
}

la_ssize_t Append(archive*, void* out, const void* buffer, size_t length) {
  static_cast<std::string*>(out)->append(static_cast<const char*>(buffer), length);
  return static_cast<la_ssize_t>(length);
}

bool WriteMember(archive* a, const ArchiveMember& m, std::time_t now) {
  std::unique_ptr<archive_entry, EntryCloser> entry(archive_entry_new());
  archive_entry_set_pathname(entry.get(), m.name.c_str());
  archive_entry_set_size(entry.get(), static_cast<la_int64_t>(m.bytes.size()));
  archive_entry_set_filetype(entry.get(), AE_IFREG);
  archive_entry_set_perm(entry.get(), 0644);
  archive_entry_set_mtime(entry.get(), now, 0);
  if (archive_write_header(a, entry.get()) != ARCHIVE_OK) return false;
  return m.bytes.empty() || archive_write_data(a, m.bytes.data(), m.bytes.size()) == static_cast<la_ssize_t>(m.bytes.size());
}

// The member's data as decoded, at most `limit` bytes: one more says it is
// larger, whatever its header claimed.
std::optional<std::string> ReadData(archive* a, std::size_t limit, std::string& error) {
  std::string bytes;
  char buffer[16384];
  while (true) {
    const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
    if (n < 0) {
      error = ReasonOf(a);
      return std::nullopt;
    }
    if (n == 0) return bytes;
    if (static_cast<std::size_t>(n) > limit - bytes.size()) {
      error = "larger than the game's file of that name can be";
      return std::nullopt;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

std::optional<std::string> LibarchiveFormat::Pack(const std::vector<ArchiveMember>& members, std::string& error) {
  if (!libarchive.Loads(error)) return std::nullopt;
  ArchivePtr a(archive_write_new());
  std::string out;
  if (!a || archive_write_set_format_ustar(a.get()) != ARCHIVE_OK ||
      archive_write_open(a.get(), &out, nullptr, Append, nullptr) != ARCHIVE_OK) {
    error = a ? ReasonOf(a.get()) : "out of memory";
    return std::nullopt;
  }
  const std::time_t now = std::time(nullptr);
  for (const ArchiveMember& m : members) {
    if (!WriteMember(a.get(), m, now)) {
      error = m.name + ": " + ReasonOf(a.get());
      return std::nullopt;
    }
  }
  if (archive_write_close(a.get()) != ARCHIVE_OK) {
    error = ReasonOf(a.get());
    return std::nullopt;
  }
  return out;
}

std::optional<std::vector<ArchiveMember>> LibarchiveFormat::Unpack(const std::string& archive,
                                                                   const ArchiveRules& rules, std::string& error) {
  if (!libarchive.Loads(error)) return std::nullopt;
  ArchivePtr a(archive_read_new());
  // Tar only, uncompressed: nothing else is a saves archive.
  if (!a || archive_read_support_format_tar(a.get()) != ARCHIVE_OK ||
      archive_read_open_memory(a.get(), archive.data(), archive.size()) != ARCHIVE_OK) {
    error = a ? ReasonOf(a.get()) : "out of memory";
    return std::nullopt;
  }
  std::vector<ArchiveMember> members;
  while (true) {
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(a.get(), &entry);
    if (status == ARCHIVE_EOF) return members;
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
      error = members.empty() ? ReasonOf(a.get()) : ReasonOf(a.get()) + " (after " + members.back().name + ")";
      return std::nullopt;
    }
    const char* path = archive_entry_pathname(entry);
    const std::string name = path ? path : "";
    if (auto problem = MemberNameProblem(name, rules, members)) {
      error = *problem;
      return std::nullopt;
    }
    if (archive_entry_filetype(entry) != AE_IFREG || archive_entry_hardlink(entry) || archive_entry_symlink(entry)) {
      error = name + " is not a plain file (a link, a folder or a device)";
      return std::nullopt;
    }
    auto bytes = ReadData(a.get(), *rules.maxBytes(name), error);
    if (!bytes) {
      error = name + ": " + error;
      return std::nullopt;
    }
    members.push_back({name, std::move(*bytes)});
  }
}

}  // namespace pelmot
