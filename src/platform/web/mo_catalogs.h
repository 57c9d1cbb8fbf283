// The translations in the browser: the content's PO files compiled by
// web.sh into lang/CODE.mo, packed with the rest of the content.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/catalog.h"
#include "platform/services.h"

namespace pelmot {

class MoCatalogs : public Catalogs {
 public:
  MoCatalogs(Files& files, std::string contentDir) : files_(files), contentDir_(std::move(contentDir)) {}
  std::vector<std::string> Languages() override;
  std::optional<Catalog> Load(const std::string& code, std::string& error) override;

 private:
  Files& files_;
  std::string contentDir_;
};

}  // namespace pelmot
