// Planar YUV 4:2:0 pictures (what the movie decoder gives for the logo
// movie) as 0x00RRGGBB words, with ITU-R BT.601's colours, each 2 x 2 block
// of pixels sharing its chroma sample. The browser edition converts its
// movie's pictures with this instead of linking FFmpeg's swscale.
#pragma once

#include <cstdint>

namespace pelmot {

struct Yuv420Picture {
  const std::uint8_t* planes[3];  // Y, U (Cb), V (Cr)
  int strides[3];                 // bytes from one row of a plane to the next
  int width, height;
  bool fullRange;  // 0-255 luma and chroma (JPEG's), not 16-235 and 16-240
};

// Writes width x height words, rows one after another.
void Yuv420ToPixels(const Yuv420Picture& picture, std::uint32_t* pixels);

}  // namespace pelmot
