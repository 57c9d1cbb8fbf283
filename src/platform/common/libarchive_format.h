// The saves' archive read and written by Debian's libarchive (ustar).
#pragma once

#include "platform/save_archive.h"

namespace pelmot {

class LibarchiveFormat : public ArchiveFormat {
 public:
  std::optional<std::string> Pack(const std::vector<ArchiveMember>& members, std::string& error) override;
  std::optional<std::vector<ArchiveMember>> Unpack(const std::string& archive, const ArchiveRules& rules,
                                                   std::string& error) override;
};

}  // namespace pelmot
