#include "platform/common/paths.h"

#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/movie_protocol.h"

// Where an install puts the content and the movie helper, relative to the
// program's folder (the build sets them from its install folders).
#ifndef PELMOT_CONTENT_FROM_PROGRAM
#define PELMOT_CONTENT_FROM_PROGRAM "../share/pelmot"
#endif
#ifndef PELMOT_HELPER_FROM_PROGRAM
#define PELMOT_HELPER_FROM_PROGRAM "../libexec/pelmot"
#endif

namespace pelmot {

std::string ExecutableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return exe.parent_path().string();
}

namespace {

bool IsFile(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

// `relative` below the program's folder, without its "..".
std::string BesideProgram(const std::string& relative) {
  return (std::filesystem::path(ExecutableFolder()) / relative).lexically_normal().string();
}

}  // namespace

std::string DefaultContentFolder() {
  const std::string own = ExecutableFolder();
  if (IsFile(own + "/scenario.txt")) return own;
  const std::string installed = BesideProgram(PELMOT_CONTENT_FROM_PROGRAM);
  return IsFolder(installed) ? installed : own;
}

std::string MovieHelperPath() {
  using movie_protocol::kHelperName;
  const std::string beside = ExecutableFolder() + "/" + kHelperName;
  if (IsFile(beside)) return beside;
  return BesideProgram(std::string(PELMOT_HELPER_FROM_PROGRAM) + "/" + kHelperName);
}

std::string DefaultDataRoot(std::string& warning) {
  warning.clear();
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    if (xdg[0] == '/') return xdg;
    warning = "XDG_DATA_HOME (" + std::string(xdg) +
              ") is not an absolute path and is ignored; the data goes below ~/.local/share";
  }
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share";
  return ".";
}

bool IsFolder(const std::string& folder) {
  std::error_code ignored;
  return std::filesystem::is_directory(folder, ignored);
}

namespace {

bool HasOverlongName(const std::string& path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    if (slash - start > NAME_MAX) return true;
    start = slash + 1;
  }
  return false;
}

// Creating a file is the only sure test: permissions say nothing for root,
// nor for a file system mounted read-only.
bool CanCreateFileIn(const std::string& folder) {
  std::string probe = folder + "/.pelmot-probe-XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

}  // namespace

FolderFault CheckDataFolder(const std::string& folder, std::size_t longestName) {
  if (folder.size() + 1 + longestName >= PATH_MAX || HasOverlongName(folder)) return FolderFault::kPathTooLong;
  if (!IsFolder(folder)) return FolderFault::kMissing;
  return CanCreateFileIn(folder) ? FolderFault::kNone : FolderFault::kNotWritable;
}

}  // namespace pelmot
