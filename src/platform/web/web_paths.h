// Where things are in the page's file system. The content is packed into
// the page (see web.sh); the data root is mounted on IndexedDB by the page's
// script before the game starts.
#pragma once

#include <string_view>

namespace pelmot {

inline constexpr std::string_view kWebContentFolder = "/content";
inline constexpr std::string_view kWebFontPath = "/content/font/ipag.ttf";
inline constexpr std::string_view kWebWesternFontPath = "/content/font/DejaVuSans.ttf";
inline constexpr std::string_view kWebDataRoot = "/saves";

}  // namespace pelmot
