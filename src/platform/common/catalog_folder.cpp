#include "platform/common/catalog_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/catalog.h"

namespace pelmot {

std::vector<std::string> CatalogCodesIn(const std::string& contentDir, std::string_view extension) {
  namespace fs = std::filesystem;
  std::vector<std::string> codes;
  const fs::path folder = fs::path(CatalogPath(contentDir, "any", "")).parent_path();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= extension.size() || !name.ends_with(extension)) continue;
    const std::string code = name.substr(0, name.size() - extension.size());
    if (IsCatalogCode(code) && code != kOriginalLanguage) codes.push_back(code);
  }
  std::sort(codes.begin(), codes.end());
  return codes;
}

}  // namespace pelmot
