#include "platform/catalog.h"

namespace pelmot {

std::optional<Catalog> ParseMoCatalog(std::string_view, std::string& error) {
  error = "compiled catalogs are not read yet";
  return std::nullopt;
}

std::string WritePoTemplate(const std::vector<TemplateEntry>&) { return {}; }

}  // namespace pelmot
