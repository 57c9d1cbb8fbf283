// Text in the data files is in code page 932 (Shift_JIS); inside it is UTF-8.
#pragma once

#include <optional>
#include <string>

#include "platform/services.h"

namespace pelmot {

// `in` converted by iconv from the encoding `from` to `to`; nothing unless
// every byte converts exactly (a character the library replaced counts as
// not converted, as musl reports replacements in iconv's result).
std::optional<std::string> ConvertExactly(const char* to, const char* from, const std::string& in);

// Nothing when the text has a character code page 932 cannot hold.
std::optional<std::string> Utf8ToCp932(const std::string& utf8);
// Nothing when the bytes are not valid code page 932.
std::optional<std::string> Cp932ToUtf8(const std::string& cp932);

class Cp932CodePage : public CodePage {
 public:
  std::optional<std::string> FromUtf8(const std::string& utf8) override { return Utf8ToCp932(utf8); }
  std::optional<std::string> ToUtf8(const std::string& cp932) override { return Cp932ToUtf8(cp932); }
};

}  // namespace pelmot
