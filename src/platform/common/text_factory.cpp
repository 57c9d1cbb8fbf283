#include "platform/common/text_factory.h"

#include <cstdio>

#include "platform/cell_text.h"
#include "platform/common/font.h"

namespace pelmot {

std::unique_ptr<TextEngine> MakeWindowFont(std::string* problem) {
  const FontFiles files = FindFontFiles();
  const FontFile& file = files.window;
  std::string why;
  if (file.path.empty()) {
    why =
        "no window font found (MS Gothic, or IPAGothic from the package fonts-ipafont-gothic); "
        "text is drawn as blocks";
  } else if (auto engine = FreeTypeTextEngine::Open(file, files.western)) {
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

std::string MissingWesternFaceText(const TextEngine& text) {
  const auto* font = dynamic_cast<const FreeTypeTextEngine*>(&text);
  if (!font || font->HasWesternFace()) return {};
  return "no western font found (DejaVu Sans from the package fonts-dejavu-core); "
         "translations are drawn in the window's font";
}

}  // namespace pelmot
