#include "platform/web/yuv420_pixels.h"

#include <algorithm>

namespace pelmot {
namespace {

// BT.601's conversion in 16-bit fixed point: the luma's scale and each
// chroma's weight in red, green and blue.
struct Coefficients {
  int luma, lumaOffset, redFromV, greenFromU, greenFromV, blueFromU;
};
constexpr Coefficients kVideoRange{76309, 16, 104597, 25675, 53279, 132201};
constexpr Coefficients kFullRange{65536, 0, 91881, 22554, 46802, 116130};

std::uint32_t Channel(int fixed) { return static_cast<std::uint32_t>(std::clamp((fixed + 32768) >> 16, 0, 255)); }

void ConvertRow(const Yuv420Picture& p, const Coefficients& k, int y, std::uint32_t* out) {
  const std::uint8_t* luma = p.planes[0] + static_cast<std::ptrdiff_t>(y) * p.strides[0];
  const std::uint8_t* u = p.planes[1] + static_cast<std::ptrdiff_t>(y / 2) * p.strides[1];
  const std::uint8_t* v = p.planes[2] + static_cast<std::ptrdiff_t>(y / 2) * p.strides[2];
  for (int x = 0; x < p.width; ++x) {
    const int cb = u[x / 2] - 128, cr = v[x / 2] - 128;
    const int l = (luma[x] - k.lumaOffset) * k.luma;
    out[x] = Channel(l + k.redFromV * cr) << 16 | Channel(l - k.greenFromU * cb - k.greenFromV * cr) << 8 |
             Channel(l + k.blueFromU * cb);
  }
}

}  // namespace

void Yuv420ToPixels(const Yuv420Picture& picture, std::uint32_t* pixels) {
  const Coefficients& k = picture.fullRange ? kFullRange : kVideoRange;
  for (int y = 0; y < picture.height; ++y)
    ConvertRow(picture, k, y, pixels + static_cast<std::ptrdiff_t>(y) * picture.width);
}

}  // namespace pelmot
