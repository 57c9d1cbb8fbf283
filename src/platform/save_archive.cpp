#include "platform/save_archive.h"

#include <algorithm>

namespace pelmot {

std::optional<std::string> MemberNameProblem(const std::string& name, const ArchiveRules& rules,
                                             const std::vector<ArchiveMember>& seen) {
  if (name.empty()) return std::string("a member without a name");
  if (name.find_first_of("/\\") != std::string::npos) return "\"" + name + "\" is a path, not a plain file name";
  if (!rules.maxBytes || !rules.maxBytes(name)) return "\"" + name + "\" is not one of the game's data files";
  if (std::any_of(seen.begin(), seen.end(), [&](const ArchiveMember& m) { return m.name == name; }))
    return name + " is in the archive twice";
  if (seen.size() >= rules.maxMembers) return std::string("more members than the game has data files");
  return std::nullopt;
}

}  // namespace pelmot
