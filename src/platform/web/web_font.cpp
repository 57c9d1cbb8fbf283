// The fonts in the browser, packed with the page's content (each with its
// licence): IPAGothic from Debian's fonts-ipafont-gothic for the window,
// DejaVu Sans from fonts-dejavu-core for western languages.
#include "platform/common/font.h"
#include "platform/web/web_paths.h"

namespace pelmot {

FontFiles FindFontFiles() { return {{std::string(kWebFontPath), 0}, {std::string(kWebWesternFontPath), 0}}; }

FontFile FindWindowFontFile() { return FindFontFiles().window; }

}  // namespace pelmot
