// English for the placeholder story and the interface, for the catalog the
// build ships beside the placeholder scenario (lang/en.po).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmot::tools {

// The English of interface text `name` (a UiText's name), or nothing when
// the table has none.
std::optional<std::string> EnglishInterfaceText(std::string_view name);
// The names the table holds that no UiText has; empty when it is tidy.
std::string UnknownInterfaceNames();

// The English of a line, option or greeting of the placeholder scenario;
// nothing when some of its words have no English yet.
std::optional<std::string> EnglishStoryText(const std::string& original);

}  // namespace pelmot::tools
