// The window's font in the browser: IPAGothic, packed with the page's
// content (with its licence) from Debian's fonts-ipafont-gothic.
#include "platform/common/font.h"
#include "platform/web/web_paths.h"

namespace pelmot {

FontFile FindWindowFontFile() { return {std::string(kWebFontPath), 0}; }

}  // namespace pelmot
