// The scenario's words, loaded from the content folder.
#pragma once

namespace pelmot {

class Content {
 public:
  virtual ~Content() = default;
};

}  // namespace pelmot
