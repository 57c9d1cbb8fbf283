#include "platform/catalog.h"

namespace pelmot {

bool IsLanguageCode(std::string_view code) {
  if (code.empty() || code.size() > 16) return false;
  for (char c : code)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
      return false;
  return true;
}

std::optional<Catalog> ParseMoCatalog(std::string_view, std::string& error) {
  error = "compiled catalogs are not read yet";
  return std::nullopt;
}

std::string WritePoTemplate(const std::vector<TemplateEntry>&) { return {}; }

}  // namespace pelmot
