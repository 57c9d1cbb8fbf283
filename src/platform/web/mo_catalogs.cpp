#include "platform/web/mo_catalogs.h"

#include "platform/common/catalog_folder.h"

namespace pelmot {

std::vector<std::string> MoCatalogs::Languages() { return CatalogCodesIn(contentDir_, ".mo"); }

std::optional<Catalog> MoCatalogs::Load(const std::string& code, std::string& error) {
  if (!IsCatalogCode(code) || code == kOriginalLanguage) {
    error = "\"" + code + "\" names no catalog";
    return std::nullopt;
  }
  const std::string path = CatalogPath(contentDir_, code, ".mo");
  const std::optional<std::string> bytes = files_.ReadWhole(path, kMaxScenarioBytes, error);
  if (!bytes) return std::nullopt;
  std::optional<Catalog> catalog = ParseMoCatalog(*bytes, error);
  if (!catalog) error = path + ": " + error;
  return catalog;
}

}  // namespace pelmot
