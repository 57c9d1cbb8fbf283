#include "platform/common/text_factory.h"

#include <cstdio>

#include "platform/cell_text.h"
#include "platform/common/font.h"

namespace pelmot {

std::unique_ptr<TextEngine> MakeWindowFont(std::string* problem) {
  const FontFile file = FindWindowFontFile();
  std::string why;
  if (file.path.empty()) {
    why =
        "no window font found (MS Gothic, or IPAGothic from the package fonts-ipafont-gothic); "
        "text is drawn as blocks";
  } else if (auto engine = FreeTypeTextEngine::Open(file)) {
    return engine;
  } else {
    why = "cannot read the window font " + file.path + "; text is drawn as blocks";
  }
  if (problem)
    *problem = why;
  else
    std::fprintf(stderr, "pelmot: warning: %s\n", why.c_str());
  return std::make_unique<CellTextEngine>();
}

}  // namespace pelmot
