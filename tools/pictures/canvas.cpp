#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/utf8.h"

namespace pelmot::pictures {
namespace {

int Channel(Colour c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

}  // namespace

Colour Mix(Colour a, Colour b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto mix = [&](int shift) {
    return static_cast<int>(std::lround(Channel(a, shift) * (1 - t) + Channel(b, shift) * t));
  };
  return Rgb(mix(16), mix(8), mix(0));
}

Colour Hsv(double hue, double saturation, double value) {
  hue = std::fmod(std::fmod(hue, 360.0) + 360.0, 360.0);
  const double c = value * saturation;
  const double x = c * (1 - std::fabs(std::fmod(hue / 60.0, 2.0) - 1));
  const double m = value - c;
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(hue / 60.0)) {
    case 0:
      r = c;
      g = x;
      break;
    case 1:
      r = x;
      g = c;
      break;
    case 2:
      g = c;
      b = x;
      break;
    case 3:
      g = x;
      b = c;
      break;
    case 4:
      r = x;
      b = c;
      break;
    default:
      r = c;
      b = x;
      break;
  }
  auto byte = [&](double v) { return static_cast<int>(std::lround((v + m) * 255)); };
  return Rgb(byte(r), byte(g), byte(b));
}

Colour Darker(Colour c, double factor) { return Mix(kBlack, c, factor); }

void VerticalGradient(Surface& s, Rect r, Colour top, Colour bottom) {
  for (int y = 0; y < r.h; ++y) s.FillRect(r.x, r.y + y, r.w, 1, Mix(top, bottom, r.h > 1 ? double(y) / (r.h - 1) : 0));
}

void FillCircle(Surface& s, int cx, int cy, int radius, Colour c) {
  for (int dy = -radius; dy <= radius; ++dy) {
    const int half = static_cast<int>(std::sqrt(double(radius) * radius - double(dy) * dy));
    s.FillRect(cx - half, cy + dy, 2 * half + 1, 1, c);
  }
}

void Frame(Surface& s, Rect r, int t, Colour c) {
  s.FillRect(r.x, r.y, r.w, t, c);
  s.FillRect(r.x, r.y + r.h - t, r.w, t, c);
  s.FillRect(r.x, r.y, t, r.h, c);
  s.FillRect(r.x + r.w - t, r.y, t, r.h, c);
}

void Bevel(Surface& s, Rect r, Colour face) {
  s.FillRect(r.x, r.y, r.w, r.h, face);
  const Colour light = Mix(face, kWhite, 0.5), dark = Darker(face, 0.45);
  s.FillRect(r.x, r.y, r.w, 2, light);
  s.FillRect(r.x, r.y, 2, r.h, light);
  s.FillRect(r.x, r.y + r.h - 2, r.w, 2, dark);
  s.FillRect(r.x + r.w - 2, r.y, 2, r.h, dark);
}

void Hills(Surface& s, int baseY, int amplitude, int seed, Colour c) {
  const double phase = seed * 0.7, freq = 0.008 + (seed % 5) * 0.002;
  for (int x = 0; x < s.Width(); ++x) {
    const double wave = std::sin(x * freq + phase) + 0.5 * std::sin(x * freq * 2.3 + phase * 1.7);
    const int top = baseY - static_cast<int>(amplitude * wave / 1.5);
    s.FillRect(x, top, 1, s.Height() - top, c);
  }
}

void Labeller::Draw(Surface& s, int x, int y, std::string_view utf8, int px, Colour c) {
  if (auto* font = dynamic_cast<FreeTypeTextEngine*>(&text_)) {
    font->DrawSmooth(s, x, y, utf8, c, px);
  } else {
    text_.Draw(s, x, y, utf8, c, px);
  }
}

void Labeller::At(Surface& s, int x, int y, std::string_view utf8, int px, Colour c) {
  const int offset = std::max(1, px / 16);
  Draw(s, x + offset, y + offset, utf8, px, Rgb(16, 16, 24));
  Draw(s, x, y, utf8, px, c);
}

void Labeller::Centred(Surface& s, Rect r, std::string_view utf8, int px, Colour c) {
  At(s, r.x + (r.w - Width(utf8, px)) / 2, r.y + (r.h - px) / 2, utf8, px, c);
}

void Labeller::Vertical(Surface& s, Rect r, std::string_view utf8, int px, Colour c) {
  const std::u32string chars = DecodeUtf8(utf8);
  const int pitch = px + 2;
  int y = r.y + (r.h - static_cast<int>(chars.size()) * pitch) / 2;
  for (char32_t cp : chars) {
    const std::string one = EncodeUtf8(std::u32string(1, cp));
    At(s, r.x + (r.w - Width(one, px)) / 2, y, one, px, c);
    y += pitch;
  }
}

Surface Shrink(const Surface& source, int factor) {
  Surface out(source.Width() / factor, source.Height() / factor);
  const int area = factor * factor;
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      int sum[3] = {0, 0, 0};
      for (int dy = 0; dy < factor; ++dy)
        for (int dx = 0; dx < factor; ++dx) {
          const Colour p = source.ImagePixel(x * factor + dx, y * factor + dy);
          sum[0] += Channel(p, 16);
          sum[1] += Channel(p, 8);
          sum[2] += Channel(p, 0);
        }
      out.SetImagePixel(x, y, Rgb(sum[0] / area, sum[1] / area, sum[2] / area));
    }
  return out;
}

}  // namespace pelmot::pictures
