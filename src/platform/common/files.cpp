#include "platform/common/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

namespace pelmot {
namespace {

constexpr const char* kTempMark = ".tmp-";
constexpr std::size_t kTempSuffixLength = 6;
constexpr const char kTempAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

std::string ErrnoText(int code) { return std::strerror(code ? code : EIO); }

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolderOf(const std::string& path) {
  int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

std::string RandomSuffix() {
  // Replacements run on the game thread and on the write-behind thread.
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kTempAlphabet - 2);
  std::string out;
  for (std::size_t i = 0; i < kTempSuffixLength; ++i) out.push_back(kTempAlphabet[pick(engine)]);
  return out;
}

// A new file of our own beside `path`: O_EXCL with O_NOFOLLOW, so a link or
// file someone placed at the name is never opened, let alone truncated.
int CreateTemporaryBeside(const std::string& path, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = path + kTempMark + RandomSuffix();
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool IsOurTemporaryName(const std::string& name) {
  const auto mark = name.rfind(kTempMark);
  if (mark == std::string::npos || mark == 0) return false;
  const std::string suffix = name.substr(mark + std::strlen(kTempMark));
  return suffix.size() == kTempSuffixLength && suffix.find_first_not_of(kTempAlphabet) == std::string::npos;
}

}  // namespace

RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

RegularFile::RegularFile(RegularFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
  }
  return *this;
}

int RegularFile::Release() { return std::exchange(fd_, -1); }

std::optional<RegularFile> OpenRegularFile(const std::string& path, std::size_t maxBytes, std::string& error) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    error = path + ": " + ErrnoText(errno);
    return std::nullopt;
  }
  RegularFile file(fd, 0);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    error = path + ": " + ErrnoText(errno);
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    error = path + ": " + KindOf(st.st_mode) + ", not a file that can be read";
    return std::nullopt;
  }
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
    error = path + ": too large (" + std::to_string(st.st_size) + " bytes, at most " + std::to_string(maxBytes) + ")";
    return std::nullopt;
  }
  // Reads block as usual from here on.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return RegularFile(file.Release(), static_cast<std::size_t>(st.st_size));
}

std::size_t ReadAt(int fd, void* out, std::size_t size, std::uint64_t offset) {
  auto* at = static_cast<char*>(out);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, at + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool ReadWholeFileInto(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error) {
  auto file = OpenRegularFile(path, maxBytes, error);
  if (!file) return false;
  // The size is only what fstat says now: read what is there, up to one
  // byte past the limit to see a file that grew meanwhile. Reading straight
  // into a buffer of that size spares a large file the copies of growing.
  struct stat st {};
  std::size_t expected = 0;
  if (::fstat(file->fd(), &st) == 0 && st.st_size > 0)
    expected = std::min(static_cast<std::size_t>(st.st_size), maxBytes);
  bytes.resize(expected + 1);
  std::size_t used = 0;
  while (true) {
    if (used == bytes.size()) bytes.resize(std::min(2 * bytes.size(), maxBytes + 1));
    ssize_t n = ::read(file->fd(), bytes.data() + used, bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = path + ": " + ErrnoText(errno);
      return false;
    }
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
    if (used > maxBytes) {
      error = path + ": too large (more than " + std::to_string(maxBytes) + " bytes)";
      return false;
    }
  }
  bytes.resize(used);
  return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& error) {
  std::string bytes;
  if (!ReadWholeFileInto(path, maxBytes, bytes, error)) return std::nullopt;
  return bytes;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::string error;
  return ReadWholeFile(path, kMaxDataFileBytes, error);
}

// No file stands at the path: nothing by that name, or a folder on the way
// that is missing, is no folder, or makes the path too long (the data
// folder's own check has said so already).
bool FileIsMissing(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) return false;
  return errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG;
}

bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error) {
  return ReplaceFile(path, {std::string_view(bytes)}, error);
}

bool ReplaceFile(const std::string& path, std::initializer_list<std::string_view> parts, std::string& error) {
  std::string temp;
  int fd = CreateTemporaryBeside(path, temp);
  if (fd < 0) {
    error = ErrnoText(errno);
    return false;
  }
  bool ok = std::all_of(parts.begin(), parts.end(), [&](std::string_view part) { return WriteAll(fd, part); }) &&
            ::fsync(fd) == 0;
  int saved = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    saved = errno;
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    saved = errno;
    ok = false;
  }
  if (!ok) {
    error = ErrnoText(saved);
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolderOf(path);
  return true;
}

void RemoveStaleTemporaryFiles(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    // unlink removes a link itself, never what it points at.
    if (IsOurTemporaryName(name)) ::unlinkat(::dirfd(dir), name.c_str(), 0);
  }
  ::closedir(dir);
}

bool EnsureFileExists(const std::string& path) {
  // Anything already there (a FIFO, a link) is left alone: the read that
  // follows says what is wrong with it. Opening a FIFO to write would wait.
  if (!FileIsMissing(path)) return true;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EEXIST;
  ::close(fd);
  return true;
}

}  // namespace pelmot
