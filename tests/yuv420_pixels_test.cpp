// The browser's own conversion of the movie's YUV 4:2:0 pictures, against
// FFmpeg's swscale, which converts them on the desktop.
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/web/yuv420_pixels.h"

namespace pelmot {
namespace {

// A picture with every level of luma and chroma in it, its rows padded as a
// decoder's are.
struct Planes {
  int width, height;
  std::vector<std::uint8_t> y, u, v;
  int strides[3];

  Planes(int w, int h) : width(w), height(h), strides{w + 13, (w + 1) / 2 + 7, (w + 1) / 2 + 7} {
    const int chromaRows = (h + 1) / 2;
    y.resize(static_cast<std::size_t>(strides[0]) * h);
    u.resize(static_cast<std::size_t>(strides[1]) * chromaRows);
    v.resize(u.size());
    for (std::size_t i = 0; i < y.size(); ++i) y[i] = static_cast<std::uint8_t>(i * 7 + i / 97);
    for (std::size_t i = 0; i < u.size(); ++i) {
      u[i] = static_cast<std::uint8_t>(i * 13);
      v[i] = static_cast<std::uint8_t>(255 - i * 5 - i / 31);
    }
  }
  Yuv420Picture Picture(bool fullRange) const {
    return {{y.data(), u.data(), v.data()}, {strides[0], strides[1], strides[2]}, width, height, fullRange};
  }
};

std::vector<std::uint32_t> BySwscale(const Planes& p, AVPixelFormat format) {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(p.width) * p.height);
  SwsContext* sws = sws_getContext(p.width, p.height, format, p.width, p.height, AV_PIX_FMT_0RGB32, SWS_POINT, nullptr,
                                   nullptr, nullptr);
  const std::uint8_t* planes[3] = {p.y.data(), p.u.data(), p.v.data()};
  std::uint8_t* dst[1] = {reinterpret_cast<std::uint8_t*>(out.data())};
  const int dstStride[1] = {p.width * 4};
  sws_scale(sws, planes, p.strides, 0, p.height, dst, dstStride);
  sws_freeContext(sws);
  for (auto& word : out) word &= 0x00FFFFFFu;
  return out;
}

// The largest difference in any channel of any pixel.
int FurthestApart(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  int furthest = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    for (int shift = 0; shift < 32; shift += 8)
      furthest = std::max(
          furthest, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF)));
  return furthest;
}

TEST(Yuv420Pixels, MatchesSwscaleWithinRoundingForVideoAndFullRange) {
  // Widths swscale's own fast path converts whole (it leaves the columns
  // past the last 8 of a row to its slower one).
  for (const auto& [w, h] : {std::pair{640, 224}, std::pair{32, 16}}) {
    const Planes planes(w, h);
    for (const bool fullRange : {false, true}) {
      std::vector<std::uint32_t> ours(static_cast<std::size_t>(w) * h);
      Yuv420ToPixels(planes.Picture(fullRange), ours.data());
      const auto theirs = BySwscale(planes, fullRange ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P);
      EXPECT_LE(FurthestApart(ours, theirs), 3) << w << " x " << h << (fullRange ? ", full range" : "");
    }
  }
}

TEST(Yuv420Pixels, OddSizesFillEveryPixelAndNoMore) {
  // The last chroma sample of a row or column covers one pixel only.
  for (const auto& [w, h] : {std::pair{33, 17}, std::pair{1, 1}, std::pair{631, 221}}) {
    const Planes planes(w, h);
    const std::size_t count = static_cast<std::size_t>(w) * h;
    std::vector<std::uint32_t> pixels(count + 1, 0xFFFFFFFFu);
    Yuv420ToPixels(planes.Picture(false), pixels.data());
    EXPECT_EQ(std::count_if(pixels.begin(), pixels.end() - 1, [](std::uint32_t p) { return p >> 24 != 0; }), 0);
    EXPECT_EQ(pixels.back(), 0xFFFFFFFFu) << w << " x " << h;
  }
}

}  // namespace
}  // namespace pelmot
