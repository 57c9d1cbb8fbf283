// Which catalogs a content folder holds: lang/CODE.po, or in the browser's
// packed content the compiled lang/CODE.mo.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelmot {

// The codes there are catalogs for, sorted: the files of lang/ named CODE +
// `extension` whose CODE is a plain code and not the original's. None when
// there is no such folder.
std::vector<std::string> CatalogCodesIn(const std::string& contentDir, std::string_view extension);

}  // namespace pelmot
