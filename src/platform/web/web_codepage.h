// Code page 932 in the browser. Emscripten's C library (musl) converts
// Shift_JIS but does not know the name CP932, nor Microsoft's extensions
// (NEC and IBM rows). The data files hold only the stamps, in ASCII and JIS
// X 0208 kanji, which both read alike; a character outside Shift_JIS fails
// the conversion instead of turning silently into another one.
#pragma once

#include "platform/services.h"

namespace pelmot {

class WebCodePage : public CodePage {
 public:
  std::optional<std::string> FromUtf8(const std::string& utf8) override;
  std::optional<std::string> ToUtf8(const std::string& cp932) override;
};

}  // namespace pelmot
