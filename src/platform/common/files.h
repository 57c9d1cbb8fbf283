// Reading the files the game is given, and replacing the files it writes.
//
// Every file the game reads comes through OpenRegularFile: it opens without
// blocking (a FIFO would otherwise wait for a writer forever), refuses
// anything that is not a regular file (devices, FIFOs, folders, sockets) and
// refuses a file larger than its kind can be, so a link to /dev/zero or a
// huge file cannot eat the memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/services.h"

namespace pelmot {

// An open regular file; closes itself.
class RegularFile {
 public:
  RegularFile() = default;
  explicit RegularFile(int fd, std::size_t size) : fd_(fd), size_(size) {}
  ~RegularFile();
  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  int fd() const { return fd_; }
  std::size_t size() const { return size_; }
  // Hands the descriptor over; the caller closes it.
  int Release();

 private:
  int fd_ = -1;
  std::size_t size_ = 0;
};

// Opens `path` for reading if it is a regular file of at most `maxBytes`
// (links are followed); otherwise nothing, and `error` says why in words.
std::optional<RegularFile> OpenRegularFile(const std::string& path, std::size_t maxBytes, std::string& error);

// The whole of a regular file of at most `maxBytes`; nothing, with `error`
// set, when it is missing, not a regular file, too large or unreadable.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& error);
// The same into `bytes`, whose memory it reuses; false (with `error`) when
// the file cannot be read.
bool ReadWholeFileInto(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error);

// Up to `size` bytes of `fd` from `offset` on into `out`: fewer only at the
// file's end or an error.
std::size_t ReadAt(int fd, void* out, std::size_t size, std::uint64_t offset);

// A data file (stamps, seen flags, a slot) whole, or nothing.
std::optional<std::string> ReadWholeFile(const std::string& path);

// True when nothing exists at `path` (not even a dangling link).
bool FileIsMissing(const std::string& path);

// Replaces the file whole: writes a new temporary file beside it (created
// exclusively under a fresh name, so nothing planted there is written
// through), flushes it to disk, then renames it over the old one. A link at
// `path` is itself replaced; its target is never written. On failure the
// old file is as it was and `error` says why.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error);
// The same with the bytes of `parts` one after the other.
bool ReplaceFile(const std::string& path, std::initializer_list<std::string_view> parts, std::string& error);

// Removes the temporary files that ReplaceFile left in `folder` when a run
// ended in the middle of a write (only names it makes: "<name>.tmp-XXXXXX").
void RemoveStaleTemporaryFiles(const std::string& folder);

// Creates an empty file if none exists; true when the file exists afterwards.
bool EnsureFileExists(const std::string& path);

// The game's files on this machine's file system, through the functions
// above.
class SystemFiles : public Files {
 public:
  std::optional<std::string> ReadWhole(const std::string& path, std::size_t maxBytes, std::string& error) override {
    return ReadWholeFile(path, maxBytes, error);
  }
  bool IsMissing(const std::string& path) override { return FileIsMissing(path); }
  bool ReplaceWhole(const std::string& path, const std::string& bytes, std::string& error) override {
    return ReplaceFile(path, bytes, error);
  }
  void RemoveStaleTemporaries(const std::string& folder) override { RemoveStaleTemporaryFiles(folder); }
  bool EnsureExists(const std::string& path) override { return EnsureFileExists(path); }
  bool MakePath(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  bool MakeFolders(const std::string& path, std::string& error) override;
  void Remove(const std::string& path) override;
  FolderFault CheckDataFolder(const std::string& folder, std::size_t longestName) override;
};

}  // namespace pelmot
