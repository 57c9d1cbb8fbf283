#include "platform/text_factory.h"

#include <cstdio>

#include "platform/cell_text.h"
#include "platform/font.h"

namespace pelmot {

std::unique_ptr<TextEngine> MakeWindowFont() {
  const FontFile file = FindWindowFontFile();
  if (!file.path.empty()) {
    if (auto engine = FreeTypeTextEngine::Open(file)) return engine;
  }
  std::fprintf(stderr,
               "pelmot: warning: no usable window font (MS Gothic or IPAGothic, package "
               "fonts-ipafont-gothic); text is drawn as blocks\n");
  return std::make_unique<CellTextEngine>();
}

}  // namespace pelmot
