#include "platform/ink_layers.h"

#include <algorithm>
#include <cstring>

namespace pelmot {
namespace {

// Ink is sparse: a row is mostly blank, and eight blank pixels are passed
// over at once.
bool BlankWord(const std::uint8_t* ink) {
  std::uint64_t word;
  std::memcpy(&word, ink, sizeof word);
  return word == 0;
}

}  // namespace

InkLayers::InkLayers(int width, int height) : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

void InkLayers::Resize(int width, int height) {
  owed_.Settle();
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  std::vector<std::uint8_t>().swap(ink_);
  std::vector<std::uint8_t>().swap(rowInked_);
}

void InkLayers::Allocate() {
  if (!ink_.empty() || width_ == 0 || height_ == 0) return;
  ink_.assign(static_cast<std::size_t>(width_) * height_, 0);
  rowInked_.assign(static_cast<std::size_t>(height_), 0);
}

void InkLayers::Clear() {
  owed_.Settle();
  for (int y = 0; y < static_cast<int>(rowInked_.size()); ++y) {
    if (!rowInked_[y]) continue;
    std::memset(&ink_[static_cast<std::size_t>(y) * width_], 0, static_cast<std::size_t>(width_));
    rowInked_[y] = 0;
  }
}

std::uint8_t InkLayers::InkAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || ink_.empty()) return 0;
  return ink_[static_cast<std::size_t>(y) * width_ + x];
}

// Text has a face and a shadow or two: the numbers never run out in play.
// Should 255 colours be named, those no longer inked are given again; only
// with 255 colours inked at once does the newest take the last number.
std::uint8_t InkLayers::ColourNumber(Colour colour) {
  const auto known = std::find(palette_.begin() + 1, palette_.end(), colour);
  if (known != palette_.end()) return static_cast<std::uint8_t>(known - palette_.begin());
  if (palette_.size() < 256) {
    palette_.push_back(colour);
    return static_cast<std::uint8_t>(palette_.size() - 1);
  }
  std::vector<bool> used(256, false);
  for (std::uint8_t n : ink_) used[n] = true;
  for (std::size_t n = 1; n < palette_.size(); ++n)
    if (!used[n]) {
      palette_[n] = colour;
      return static_cast<std::uint8_t>(n);
    }
  palette_.back() = colour;
  return 255;
}

void InkLayers::Ink(int x, int y, int length, Colour colour) {
  owed_.Settle();
  if (colour == kBlack) return;
  const int x0 = std::max(x, 0), x1 = std::min(x + length, width_);
  if (y < 0 || y >= height_ || x0 >= x1) return;
  Allocate();
  const std::uint8_t number = ColourNumber(colour);
  std::memset(&ink_[static_cast<std::size_t>(y) * width_ + x0], number, static_cast<std::size_t>(x1 - x0));
  rowInked_[y] = 1;
}

void InkLayers::InkRuns(int x, int y, std::span<const GlyphRun> runs, Colour colour, Area clip) {
  owed_.Settle();
  const int left = std::max(clip.left, 0), right = std::min(clip.left + clip.width, width_);
  const int top = std::max(clip.top, 0), bottom = std::min(clip.top + clip.height, height_);
  if (colour == kBlack || left >= right || top >= bottom) return;
  Allocate();
  const std::uint8_t number = ColourNumber(colour);
  for (const GlyphRun& run : runs) {
    const int row = y + run.dy;
    const int x0 = std::max(x + run.dx, left), x1 = std::min(x + run.dx + run.length, right);
    if (row < top || row >= bottom || x0 >= x1) continue;
    std::memset(&ink_[static_cast<std::size_t>(row) * width_ + x0], number, static_cast<std::size_t>(x1 - x0));
    rowInked_[row] = 1;
  }
}

// Whether four pixels from `p` are all black.
static bool BlackQuad(const Colour* p) {
  std::uint64_t a, b;
  std::memcpy(&a, p, sizeof a);
  std::memcpy(&b, p + 2, sizeof b);
  return (a | b) == 0;
}

void InkLayers::InkFrom(const Surface& drawn, int x, int y) {
  InkFrom(drawn, x, y, {0, 0, drawn.Width(), drawn.Height()});
}

void InkLayers::InkFrom(const Surface& drawn, int x, int y, Area part) {
  owed_.Settle();
  const std::vector<Colour>& pixels = drawn.Image();
  const int width = drawn.Width();
  const int left = std::max(part.left, 0), right = std::min(part.left + part.width, width);
  const int top = std::max(part.top, 0), bottom = std::min(part.top + part.height, drawn.Height());
  for (int row = top; row < bottom; ++row) {
    const Colour* line = &pixels[static_cast<std::size_t>(row) * width];
    for (int col = left; col < right;) {
      // Glyphs are sparse: black is passed over four pixels at a time.
      if (col + 4 <= right && BlackQuad(line + col)) {
        col += 4;
        continue;
      }
      if (line[col] == kBlack) {
        ++col;
        continue;
      }
      const int begin = col;
      while (col < right && line[col] == line[begin]) ++col;
      Ink(x + begin, y + row, col - begin, line[begin]);
    }
  }
}

void InkLayers::ComposeInto(std::span<Colour> page, int stride, Area from) const {
  if (ink_.empty() || from.width <= 0 || from.height <= 0 || stride < from.width ||
      page.size() < static_cast<std::size_t>(from.height - 1) * stride + from.width)
    return;
  const int left = std::max(from.left, 0), right = std::min(from.left + from.width, width_);
  const int top = std::max(from.top, 0), bottom = std::min(from.top + from.height, height_);
  for (int y = top; y < bottom; ++y) {
    if (!rowInked_[y]) continue;
    const std::uint8_t* ink = &ink_[static_cast<std::size_t>(y) * width_];
    Colour* out = page.data() + static_cast<std::size_t>(y - from.top) * stride;
    int x = left;
    for (; x + 8 <= right; x += 8) {
      if (BlankWord(ink + x)) continue;
      for (int i = x; i < x + 8; ++i)
        if (ink[i]) out[i - from.left] = palette_[ink[i]];
    }
    for (; x < right; ++x)
      if (ink[x]) out[x - from.left] = palette_[ink[x]];
  }
}

}  // namespace pelmot
