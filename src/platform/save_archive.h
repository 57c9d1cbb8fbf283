// An archive of the player's data files: one tar file (the ustar format)
// that carries them to another machine or browser and back. The desktop
// reads and writes it with libarchive, the browser edition with a small
// reader of its own (ustar.h); both refuse the same things.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelmot {

// A file of the archive: a plain name (no folder) and its bytes.
struct ArchiveMember {
  std::string name;
  std::string bytes;
  bool operator==(const ArchiveMember&) const = default;
};

// What an archive may hold. Every member must be a regular file whose name
// `maxBytes` knows (it gives the largest size such a file may have), each
// name once; links, devices, folders, paths and anything larger are refused.
struct ArchiveRules {
  std::function<std::optional<std::size_t>(const std::string& name)> maxBytes;
  std::size_t maxMembers = 0;
};

// The largest archive file read: far above the data files together.
inline constexpr std::size_t kMaxSavesArchiveBytes = 32 * 1024 * 1024;

class ArchiveFormat {
 public:
  virtual ~ArchiveFormat() = default;
  // The members, in order, as a ustar archive; nothing, with `error`, when
  // one cannot be written.
  virtual std::optional<std::string> Pack(const std::vector<ArchiveMember>& members, std::string& error) = 0;
  // The members of `archive` by `rules`; nothing, with `error` naming the
  // member and why, when the archive is damaged or holds anything else.
  // Sizes are counted from the bytes read, never taken from a header alone.
  virtual std::optional<std::vector<ArchiveMember>> Unpack(const std::string& archive, const ArchiveRules& rules,
                                                           std::string& error) = 0;
};

// Why `name` cannot be a member under `rules` (a path, unknown, repeated),
// or nothing when it can; `seen` holds the names read so far.
std::optional<std::string> MemberNameProblem(const std::string& name, const ArchiveRules& rules,
                                             const std::vector<ArchiveMember>& seen);

}  // namespace pelmot
