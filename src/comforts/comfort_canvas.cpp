#include "comforts/comfort_canvas.h"

#include <algorithm>

#include "game/game.h"
#include "menus/pointer_frame.h"
#include "present/text_page.h"

namespace pelmot {

std::vector<std::string>* ComfortCanvas::textRecord = nullptr;
namespace {

constexpr int kShadowShift = 2;  // the text window's shadow: 2 right, 2 down

}  // namespace

ComfortCanvas::ComfortCanvas(Game& game, std::span<Colour> pixels, ScreenRect area)
    : game_(game), pixels_(pixels), area_(area), surface_(area.width, area.height) {
  surface_.SetPersistent(true);
  const int stride = game.form.clientWidth;
  std::vector<Colour>& image = surface_.MutableImage();
  const int rows = std::min(area.height, game.form.clientHeight - area.top);
  const int columns = std::min(area.width, stride - area.left);
  for (int y = 0; y < rows; ++y) {
    auto from = pixels.begin() + static_cast<std::ptrdiff_t>(area.top + y) * stride + area.left;
    std::copy(from, from + columns, image.begin() + static_cast<std::ptrdiff_t>(y) * area.width);
  }
}

ComfortCanvas::~ComfortCanvas() {
  const int stride = game_.form.clientWidth;
  const std::vector<Colour>& image = surface_.Image();
  const int rows = std::min(area_.height, game_.form.clientHeight - area_.top);
  const int columns = std::min(area_.width, stride - area_.left);
  for (int y = 0; y < rows; ++y) {
    auto from = image.begin() + static_cast<std::ptrdiff_t>(y) * area_.width;
    std::copy(from, from + columns, pixels_.begin() + static_cast<std::ptrdiff_t>(area_.top + y) * stride + area_.left);
  }
}

void ComfortCanvas::DimmedPicture() { DimmedPicture(game_.form.MainWork); }

void ComfortCanvas::DimmedPicture(const Surface& picture) {
  surface_.BitBlt(0, 0, area_.width, area_.height, picture, area_.left, area_.top, Rop::SrcCopy);
  surface_.BitBlt(0, 0, area_.width, area_.height, game_.state.SysPic[kDimmingMask], area_.left, area_.top,
                  Rop::SrcAnd);
}

void ComfortCanvas::GameTextRows() {
  game_.form.MsgInk.ComposeInto(surface_.MutableImage(), area_.width,
                                {area_.left, area_.top, area_.width, area_.height});
}

// The frame is drawn in client coordinates: on a canvas of the whole area only.
void ComfortCanvas::MenuRowFrame(int row) {
  if (area_.left == 0 && area_.top == 0) FrameMenuRowOn(game_, surface_, row);
}

void ComfortCanvas::ShadowedText(int x, int y, std::string_view utf8) {
  if (textRecord) textRecord->emplace_back(utf8);
  TextEngine& text = game_.services.text;
  const int size = game_.form.Msg.fontPixels;
  const int left = x - area_.left, top = y - area_.top;
  text.Draw(surface_, left + kShadowShift, top + kShadowShift, utf8, kTextShadow, size);
  text.Draw(surface_, left, top, utf8, kTextFace, size);
}

void ComfortCanvas::Outline(const ScreenRect& r, Colour colour) {
  const int left = r.left - area_.left, top = r.top - area_.top;
  surface_.FillRect(left, top, r.width, 1, colour);
  surface_.FillRect(left, top + r.height - 1, r.width, 1, colour);
  surface_.FillRect(left, top, 1, r.height, colour);
  surface_.FillRect(left + r.width - 1, top, 1, r.height, colour);
}

void ComfortCanvas::HorizontalLine(int x1, int x2, int y, Colour colour) {
  surface_.FillRect(x1 - area_.left, y - area_.top, x2 - x1, 1, colour);
}

int ComfortCanvas::TextWidth(std::string_view utf8) const {
  return game_.services.text.Width(utf8, game_.form.Msg.fontPixels);
}

void TextOverBox(Game& game, std::span<Colour> pixels, const ScreenRect& box, int padding, std::string_view text,
                 Colour ink, Colour (*background)(Colour under)) {
  const int stride = game.form.clientWidth;
  if (box.width <= 0 || box.height <= 0 || box.left < 0 || box.top < 0 || box.Right() > stride ||
      pixels.size() < static_cast<std::size_t>(box.Bottom()) * stride)
    return;
  // The text drawn alone, light on black, then laid over the box.
  Surface glyphs(box.width, box.height);
  glyphs.SetPersistent(true);
  game.services.text.Draw(glyphs, padding, padding, text, ink, game.form.Msg.fontPixels);
  const std::vector<Colour>& drawn = glyphs.Image();
  for (int y = 0; y < box.height; ++y) {
    for (int x = 0; x < box.width; ++x) {
      Colour& out = pixels[static_cast<std::size_t>(box.top + y) * stride + box.left + x];
      const Colour glyph = drawn[static_cast<std::size_t>(y) * box.width + x];
      out = glyph != kBlack ? glyph : background(out);
    }
  }
}

}  // namespace pelmot
