#include "platform/web/late_font.h"

#include "platform/common/font.h"
#include "platform/common/text_factory.h"
#include "platform/web/web_content.h"

namespace pelmot {

bool LateFontText::Ready() {
  if (engine_) return true;
  const FontFiles files = FindFontFiles();
  for (const FontFile& file : {files.window, files.western})
    if (LateFileState(file.path) == LateFile::kComing) return false;
  engine_ = MakeWindowFont();  // a font that failed to come: blocks, and a warning on the console
  engine_->SetFace(face_);
  return true;
}

void LateFontText::SetFace(TextFace face) {
  face_ = face;
  if (engine_) engine_->SetFace(face);
}

int LateFontText::Width(std::string_view utf8, int pixelSize) {
  if (Ready()) return engine_->Width(utf8, pixelSize);
  return metrics_.Width(utf8, pixelSize);
}

bool LateFontText::EachSpan(int x, int y, std::string_view utf8, int pixelSize, const SpanSink& span) {
  return !Ready() || engine_->EachSpan(x, y, utf8, pixelSize, span);
}

void LateFontText::Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) {
  if (Ready()) engine_->Draw(target, x, y, utf8, colour, pixelSize);
}

}  // namespace pelmot
