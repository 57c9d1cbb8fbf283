// The ustar format read and written by hand, every field bounds-checked: the
// browser edition's archive of the saves (Debian's libarchive is not built
// for WebAssembly). It writes plain regular files and reads nothing else.
#pragma once

#include "platform/save_archive.h"

namespace pelmot {

class UstarFormat : public ArchiveFormat {
 public:
  std::optional<std::string> Pack(const std::vector<ArchiveMember>& members, std::string& error) override;
  std::optional<std::vector<ArchiveMember>> Unpack(const std::string& archive, const ArchiveRules& rules,
                                                   std::string& error) override;
};

}  // namespace pelmot
