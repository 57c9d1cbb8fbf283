// The text engine of the page, whose fonts arrive after the first frame
// (the logo needs no text). Until they are here it measures with the
// window font's own metrics (full-width characters one em, others half)
// and draws nothing; the window holds the player's input meanwhile.
#pragma once

#include <memory>

#include "platform/cell_text.h"
#include "platform/services.h"

namespace pelmot {

class LateFontText : public TextEngine {
 public:
  // True once the fonts have arrived (or failed to) and the engine is made:
  // FreeType's, or blocks when the window's font cannot be read.
  bool Ready();
  void SetFace(TextFace face) override;
  int Width(std::string_view utf8, int pixelSize) override;
  void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) override;
  // Nothing until the fonts are in, as Draw.
  bool EachSpan(int x, int y, std::string_view utf8, int pixelSize, const SpanSink& span) override;

 private:
  std::unique_ptr<TextEngine> engine_;
  CellTextEngine metrics_;
  TextFace face_ = TextFace::kWindow;
};

}  // namespace pelmot
