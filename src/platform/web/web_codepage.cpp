#include "platform/web/web_codepage.h"

#include "platform/common/codepage.h"

namespace pelmot {

std::optional<std::string> WebCodePage::FromUtf8(const std::string& utf8) {
  return ConvertExactly("SHIFT_JIS", "UTF-8", utf8);
}

std::optional<std::string> WebCodePage::ToUtf8(const std::string& cp932) {
  return ConvertExactly("UTF-8", "SHIFT_JIS", cp932);
}

}  // namespace pelmot
