// SystemFiles: the parts that are not a plain call of files.h.
#include <filesystem>
#include <system_error>

#include "platform/common/files.h"
#include "platform/common/paths.h"

namespace pelmot {
namespace {

void CreateFolder(const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::is_directory(path, ignored)) std::filesystem::create_directory(path, ignored);
}

}  // namespace

bool SystemFiles::MakePath(const std::string& path) {
  std::size_t start;
  if (path.rfind("//", 0) == 0) {
    // Network form: the first folder starts after "//server/share/".
    std::size_t server = path.find('/', 2);
    if (server == std::string::npos) return false;
    std::size_t share = path.find('/', server + 1);
    if (share == std::string::npos) return false;
    start = share + 1;
  } else if (path.rfind("/", 0) == 0) {
    start = 1;
  } else {
    start = 0;
  }
  while (true) {
    std::size_t slash = path.find('/', start);
    CreateFolder(slash == std::string::npos ? path : path.substr(0, slash));
    if (slash == std::string::npos) return true;
    start = slash + 1;
  }
}

bool SystemFiles::IsFolder(const std::string& path) { return pelmot::IsFolder(path); }

bool SystemFiles::MakeFolders(const std::string& path, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) error = ec.message();
  return !ec;
}

void SystemFiles::Remove(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

FolderFault SystemFiles::CheckDataFolder(const std::string& folder, std::size_t longestName) {
  return pelmot::CheckDataFolder(folder, longestName);
}

}  // namespace pelmot
