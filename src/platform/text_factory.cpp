#include "platform/text_factory.h"

#include <cstdio>

#include "platform/cell_text.h"
#include "platform/font.h"

namespace pelmot {

std::unique_ptr<TextEngine> MakeWindowFont() {
  const FontFile file = FindWindowFontFile();
  if (file.path.empty()) {
    std::fprintf(stderr,
                 "pelmot: warning: no window font found (MS Gothic, or IPAGothic from the package "
                 "fonts-ipafont-gothic); text is drawn as blocks\n");
  } else if (auto engine = FreeTypeTextEngine::Open(file)) {
    return engine;
  } else {
    std::fprintf(stderr, "pelmot: warning: cannot read the window font %s; text is drawn as blocks\n",
                 file.path.c_str());
  }
  return std::make_unique<CellTextEngine>();
}

}  // namespace pelmot
