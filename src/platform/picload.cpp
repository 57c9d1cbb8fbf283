#include "platform/picload.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

namespace pelmot {

std::string PicturePath(const std::string& folder, int number) {
  return folder + "/" + std::to_string(number) + ".png";
}

bool LoadImageFile(const std::string& path, Surface& out) {
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded) return false;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  if (!rgb) return false;
  out.Resize(rgb->w, rgb->h);
  auto& image = out.MutableImage();
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(rgb->pixels) + y * rgb->pitch);
    for (int x = 0; x < rgb->w; ++x) image[static_cast<std::size_t>(y) * rgb->w + x] = row[x] & 0xFFFFFF;
  }
  SDL_FreeSurface(rgb);
  return true;
}

namespace {

void DrawPlaceholder(Surface& target, int number) {
  auto& image = target.MutableImage();
  const int w = target.Width(), h = target.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image[static_cast<std::size_t>(y) * w + x] = Rgb(96, 96, 96);
  // The number in large seven-segment digits, so the gap can be seen.
  static constexpr unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                  0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  const std::string digits = std::to_string(number);
  const int digitW = 60, digitH = 110, gap = 20, thick = 12;
  int x0 = (w - static_cast<int>(digits.size()) * (digitW + gap)) / 2, y0 = (h - digitH) / 2;
  for (char c : digits) {
    unsigned char seg = c >= '0' && c <= '9' ? kSegments[c - '0'] : 0x40;
    const int half = digitH / 2;
    struct Bar { int bit, x, y, w, h; };
    const Bar bars[7] = {{0, 0, 0, digitW, thick},           {1, digitW - thick, 0, thick, half},
                         {2, digitW - thick, half, thick, half}, {3, 0, digitH - thick, digitW, thick},
                         {4, 0, half, thick, half},          {5, 0, 0, thick, half},
                         {6, 0, half - thick / 2, digitW, thick}};
    for (const Bar& b : bars)
      if (seg & (1 << b.bit))
        for (int y = y0 + b.y; y < y0 + b.y + b.h && y < h; ++y)
          for (int x = x0 + b.x; x < x0 + b.x + b.w && x < w; ++x)
            if (x >= 0 && y >= 0) image[static_cast<std::size_t>(y) * w + x] = Rgb(230, 230, 230);
    x0 += digitW + gap;
  }
}

}  // namespace

void PngPictureLoader::PicLoad(Surface& target, int number, const std::string& folder) {
  const std::string path = PicturePath(folder, number);
  Surface decoded(0, 0);
  if (!LoadImageFile(path, decoded)) {
    std::fprintf(stderr, "pelmot: warning: cannot read picture %s: %s\n", path.c_str(), IMG_GetError());
    DrawPlaceholder(target, number);
    target.MarkChanged();
    return;
  }
  target.BitBlt(0, 0, decoded.Width(), decoded.Height(), decoded, 0, 0, Rop::SrcCopy);
}

bool SavePng(const std::vector<Colour>& pixels, int width, int height, const std::string& path) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<Colour*>(pixels.data()), width, height, 32, width * 4, SDL_PIXELFORMAT_RGB888);
  if (!surface) return false;
  const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
  SDL_FreeSurface(surface);
  return ok;
}

}  // namespace pelmot
