// The translations of a content folder as translators write them: one PO
// file per language, lang/CODE.po, read with libgettextpo.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/catalog.h"

namespace pelmot {

class PoCatalogs : public Catalogs {
 public:
  explicit PoCatalogs(std::string contentDir) : contentDir_(std::move(contentDir)) {}
  std::vector<std::string> Languages() override;
  // Every entry but the header, each with the line of the file it starts on;
  // nothing when the file is missing, too large, or not a sound PO file in
  // UTF-8 (then `error` says "FILE:LINE: why" for the first fault).
  std::optional<Catalog> Load(const std::string& code, std::string& error) override;

 private:
  std::string contentDir_;
};

// The same for one file.
std::optional<Catalog> ReadPoFile(const std::string& path, std::string& error);

}  // namespace pelmot
