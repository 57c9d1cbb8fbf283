// Code page 932 in the browser, as Shift_JIS: ASCII, the half-width katakana
// and the JIS X 0208 characters, from a table written at build time
// (make_sjis_table.py), without the C library's iconv and its tables of
// every other encoding. Microsoft's extensions (the NEC and IBM rows) are not
// among them: the data files hold only the stamps, in ASCII and JIS X 0208
// kanji. A character outside Shift_JIS fails the conversion instead of
// turning silently into another one.
#pragma once

#include "platform/services.h"

namespace pelmot {

class WebCodePage : public CodePage {
 public:
  std::optional<std::string> FromUtf8(const std::string& utf8) override;
  std::optional<std::string> ToUtf8(const std::string& cp932) override;
};

}  // namespace pelmot
