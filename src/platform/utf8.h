// UTF-8 helpers: the game counts characters, never bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelmot {

// Splits UTF-8 text into code points; an invalid byte becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, char32_t cp);
// True for characters that take a full cell (East Asian wide or fullwidth).
bool IsFullWidth(char32_t cp);

}  // namespace pelmot
