// Drawing helpers of the picture generator: gradients, shapes, frames,
// labels and thumbnails on 0x00RRGGBB surfaces.
#pragma once

#include <string_view>

#include "platform/common/font.h"
#include "platform/surface.h"

namespace pelmot::pictures {

struct Rect {
  int x, y, w, h;
};

Colour Mix(Colour a, Colour b, double t);  // t 0 gives a, 1 gives b
Colour Hsv(double hueDegrees, double saturation, double value);
Colour Darker(Colour c, double factor);

void VerticalGradient(Surface& s, Rect r, Colour top, Colour bottom);
void FillCircle(Surface& s, int cx, int cy, int radius, Colour c);
// A ring of `thickness` pixels inside r.
void Frame(Surface& s, Rect r, int thickness, Colour c);
// A filled box with a light top-left and dark bottom-right edge.
void Bevel(Surface& s, Rect r, Colour face);
// Gentle hills across the picture from height `baseY`, by a seed.
void Hills(Surface& s, int baseY, int amplitude, int seed, Colour c);

// Labels with smooth edges and a dark drop shadow.
class Labeller {
 public:
  explicit Labeller(TextEngine& text) : text_(text) {}
  int Width(std::string_view utf8, int px) { return text_.Width(utf8, px); }
  void At(Surface& s, int x, int y, std::string_view utf8, int px, Colour c);
  void Centred(Surface& s, Rect r, std::string_view utf8, int px, Colour c);
  // One character under the other, centred in r.
  void Vertical(Surface& s, Rect r, std::string_view utf8, int px, Colour c);

 private:
  void Draw(Surface& s, int x, int y, std::string_view utf8, int px, Colour c);
  TextEngine& text_;
};

// The picture reduced by a whole factor, each pixel the mean of its block.
Surface Shrink(const Surface& source, int factor);

}  // namespace pelmot::pictures
