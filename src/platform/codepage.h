// Text in the data files is in code page 932 (Shift_JIS); inside it is UTF-8.
#pragma once

#include <optional>
#include <string>

namespace pelmot {

// Nothing when the text has a character code page 932 cannot hold.
std::optional<std::string> Utf8ToCp932(const std::string& utf8);
// Nothing when the bytes are not valid code page 932.
std::optional<std::string> Cp932ToUtf8(const std::string& cp932);

}  // namespace pelmot
