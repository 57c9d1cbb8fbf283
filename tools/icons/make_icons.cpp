// pelmot_make_icons TITLE_PNG OUTPUT_DIR: draws the program's icons from the
// title picture, OUTPUT_DIR/pelmot-N.png for N = 16 ... 512, square.
//
// The big icons show the title word under its night sky; from 32 pixels
// down the word would be a blur, so they show its first letter alone, with
// the sky from beside the word where its next letter stood.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "platform/common/picload.h"

namespace {

using pelmot::Colour;
using pelmot::DecodedPicture;

constexpr int kSizes[] = {16, 24, 32, 48, 64, 96, 128, 192, 256, 512};
constexpr int kLetterIconUpTo = 32;  // icons this small show the first letter
constexpr Colour kWordColour = 0xFFECAA;  // the title word's face

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom excluded
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

int Channel(Colour c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

bool IsWordPixel(Colour c) {
  for (int shift : {16, 8, 0})
    if (std::abs(Channel(c, shift) - Channel(kWordColour, shift)) > 24) return false;
  return true;
}

bool ColumnHasWord(const DecodedPicture& p, int x, int top, int bottom) {
  for (int y = top; y < bottom; ++y)
    if (IsWordPixel(p.pixels[static_cast<std::size_t>(y) * p.width + x])) return true;
  return false;
}

// The box around the pixels of the title word's colour; nothing when the
// picture has none.
std::optional<Box> FindWord(const DecodedPicture& p) {
  Box box{p.width, p.height, 0, 0};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (IsWordPixel(p.pixels[static_cast<std::size_t>(y) * p.width + x])) {
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
      }
  if (box.right <= box.left) return std::nullopt;
  return box;
}

// The word's first letter: its columns up to the first gap.
Box FirstLetter(const DecodedPicture& p, Box word) {
  Box letter = word;
  for (int x = word.left; x < word.right; ++x)
    if (!ColumnHasWord(p, x, word.top, word.bottom)) {
      letter.right = x;
      break;
    }
  return letter;
}

// A square of `side` centred on `centreX`, its top at `top`, moved inside
// the picture.
Box SquareAt(const DecodedPicture& p, int side, int centreX, int top) {
  side = std::min({side, p.width, p.height});
  const int left = std::clamp(centreX - side / 2, 0, p.width - side);
  top = std::clamp(top, 0, p.height - side);
  return {left, top, left + side, top + side};
}

// The part of the picture in `box`, as a picture of its own.
DecodedPicture Cut(const DecodedPicture& p, Box box) {
  DecodedPicture out{box.Width(), box.Height(), {}};
  out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) out.pixels.push_back(p.pixels[static_cast<std::size_t>(y) * p.width + x]);
  return out;
}

// The square around the first letter; the columns right of it (where the
// next letters stand) take the sky from the same rows, one square further
// left, so only the letter shows.
DecodedPicture LetterSquare(const DecodedPicture& p, Box word) {
  const Box letter = FirstLetter(p, word);
  const int side = letter.Height() * 6 / 5;
  const Box square = SquareAt(p, side, (letter.left + letter.right) / 2, letter.top - (side - letter.Height()) / 2);
  DecodedPicture out = Cut(p, square);
  const int shadowEnd = letter.right + 6;  // the drop shadow lies right of the letter
  for (int x = std::max(shadowEnd, square.left); x < square.right; ++x) {
    const int from = std::max(0, x - square.Width());
    for (int y = square.top; y < square.bottom; ++y)
      out.pixels[static_cast<std::size_t>(y - square.top) * out.width + (x - square.left)] =
          p.pixels[static_cast<std::size_t>(y) * p.width + from];
  }
  return out;
}

// The square around the whole word, the sky above it and the word at its
// foot (below it the picture goes on with other lines).
DecodedPicture WordSquare(const DecodedPicture& p, Box word) {
  const int side = word.Width() * 11 / 10;
  const int margin = word.Height() / 6;
  return Cut(p, SquareAt(p, side, (word.left + word.right) / 2, word.bottom + margin - side));
}

// Each output pixel the mean of the source area it covers (partly covered
// source pixels count by their share).
DecodedPicture AreaAverage(const DecodedPicture& p, int side) {
  DecodedPicture out{side, side, std::vector<Colour>(static_cast<std::size_t>(side) * side)};
  const double scale = static_cast<double>(p.width) / side;
  for (int oy = 0; oy < side; ++oy)
    for (int ox = 0; ox < side; ++ox) {
      double sum[3] = {0, 0, 0}, area = 0;
      const double x0 = ox * scale, x1 = x0 + scale, y0 = oy * scale, y1 = y0 + scale;
      for (int y = static_cast<int>(y0); y < std::min<double>(y1, p.height); ++y)
        for (int x = static_cast<int>(x0); x < std::min<double>(x1, p.width); ++x) {
          const double w = (std::min<double>(x + 1, x1) - std::max<double>(x, x0)) *
                           (std::min<double>(y + 1, y1) - std::max<double>(y, y0));
          const Colour c = p.pixels[static_cast<std::size_t>(y) * p.width + x];
          sum[0] += w * Channel(c, 16);
          sum[1] += w * Channel(c, 8);
          sum[2] += w * Channel(c, 0);
          area += w;
        }
      auto mean = [&](int i) { return static_cast<Colour>(std::clamp(sum[i] / area + 0.5, 0.0, 255.0)); };
      out.pixels[static_cast<std::size_t>(oy) * side + ox] = mean(0) << 16 | mean(1) << 8 | mean(2);
    }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pelmot_make_icons TITLE_PNG OUTPUT_DIR\n";
    return 2;
  }
  DecodedPicture title;
  std::string error;
  if (!pelmot::DecodePictureFile(argv[1], title, error)) {
    std::cerr << "pelmot_make_icons: " << error << "\n";
    return 1;
  }
  // A title without the word (another content's) gives its middle square.
  const Box word = FindWord(title).value_or(Box{title.width / 4, title.height / 4, title.width * 3 / 4, title.height / 2});
  const DecodedPicture big = WordSquare(title, word), small = LetterSquare(title, word);
  const std::filesystem::path folder = argv[2];
  std::error_code ignored;  // a folder that cannot be made fails the first write
  std::filesystem::create_directories(folder, ignored);
  for (int side : kSizes) {
    const DecodedPicture icon = AreaAverage(side <= kLetterIconUpTo ? small : big, side);
    const std::string path = (folder / ("pelmot-" + std::to_string(side) + ".png")).string();
    if (!pelmot::SavePng(icon.pixels, side, side, path)) {
      std::cerr << "pelmot_make_icons: cannot write " << path << "\n";
      return 1;
    }
  }
  return 0;
}
