#include "platform/common/png_decode.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/common/png_unfilter.h"

namespace pelmot {
namespace {

constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
// libpng's own bound on a chunk's length.
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;

enum ColourType { kGrey = 0, kTruecolour = 2, kIndexed = 3, kGreyAlpha = 4, kTruecolourAlpha = 6 };

std::uint32_t BigEndian32(const unsigned char* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

struct Chunk {
  std::string type;
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  bool Is(std::string_view name) const { return type == name; }
};

// The chunks of a file after its signature, each checked whole before it
// is handed out.
class ChunkWalker {
 public:
  explicit ChunkWalker(std::string_view file)
      : at_(reinterpret_cast<const unsigned char*>(file.data()) + kSignature.size()),
        end_(reinterpret_cast<const unsigned char*>(file.data()) + file.size()) {}

  bool AtEnd() const { return at_ == end_; }

  // The next chunk; false, with `error` set, when it is cut short, has a
  // bad name or a wrong checksum.
  bool Next(Chunk& chunk, std::string& error) {
    const auto left = static_cast<std::size_t>(end_ - at_);
    if (left < 8) return Fail(error, "the file ends inside a chunk's header");
    chunk.length = BigEndian32(at_);
    chunk.type.assign(reinterpret_cast<const char*>(at_ + 4), 4);
    for (char c : chunk.type)
      if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return Fail(error, "a chunk has no proper name");
    if (left < 12 || chunk.length > kMaxChunkLength || chunk.length > left - 12)
      return Fail(error, "the file ends inside chunk " + chunk.type + ", which says it holds " +
                             std::to_string(chunk.length) + " bytes; " + std::to_string(left < 12 ? 0 : left - 12) +
                             " are left");
    chunk.data = at_ + 8;
    const std::uint32_t sum = static_cast<std::uint32_t>(libdeflate_crc32(0, at_ + 4, chunk.length + 4));
    if (sum != BigEndian32(chunk.data + chunk.length))
      return Fail(error, "chunk " + chunk.type + " is damaged (its checksum does not match)");
    at_ = chunk.data + chunk.length + 4;
    return true;
  }

 private:
  static bool Fail(std::string& error, std::string what) {
    error = std::move(what);
    return false;
  }
  const unsigned char* at_;
  const unsigned char* end_;
};

// What the header says, and what the rows hold.
struct Layout {
  std::uint32_t width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;

  int Samples() const {
    switch (colourType) {
      case kTruecolour: return 3;
      case kGreyAlpha: return 2;
      case kTruecolourAlpha: return 4;
      default: return 1;
    }
  }
  std::size_t RowBytes() const { return (std::size_t{width} * Samples() * depth + 7) / 8; }
  // Each row starts with its filter type byte.
  std::size_t ImageBytes() const { return std::size_t{height} * (1 + RowBytes()); }
  int PixelBytes() const { return std::max(1, Samples() * depth / 8); }
  std::string Size() const { return std::to_string(width) + " x " + std::to_string(height); }
};

bool ValidDepth(int colourType, int depth) {
  switch (colourType) {
    case kGrey: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kIndexed: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case kTruecolour:
    case kGreyAlpha:
    case kTruecolourAlpha: return depth == 8 || depth == 16;
    default: return false;
  }
}

PngResult ReadHeader(const Chunk& chunk, Layout& layout, std::string& error) {
  if (!chunk.Is("IHDR") || chunk.length != 13) {
    error = "the file does not start with a picture header (IHDR)";
    return PngResult::kDamaged;
  }
  const unsigned char* d = chunk.data;
  layout.width = BigEndian32(d);
  layout.height = BigEndian32(d + 4);
  layout.depth = d[8];
  layout.colourType = d[9];
  layout.interlace = d[12];
  if (!ValidDepth(layout.colourType, layout.depth) || d[10] != 0 || d[11] != 0 || layout.interlace > 1) {
    error = "the picture header names no PNG layout (colour type " + std::to_string(layout.colourType) +
            ", depth " + std::to_string(layout.depth) + ")";
    return PngResult::kDamaged;
  }
  if (layout.width == 0 || layout.height == 0 || layout.width > kScreenWidth || layout.height > kScreenHeight) {
    error = "the picture says it is " + layout.Size() + "; a picture is at most " + std::to_string(kScreenWidth) +
            " x " + std::to_string(kScreenHeight);
    return PngResult::kDamaged;
  }
  if (layout.depth == 16 || layout.interlace != 0) return PngResult::kOtherFormat;
  return PngResult::kDecoded;
}

// Everything after the header that decoding needs.
struct Contents {
  std::array<Colour, 256> palette{};  // entries past the file's palette are black, as SDL_image makes them
  bool hasPalette = false, hasTransparency = false;
  std::vector<std::string_view> imageData;
};

bool ReadPalette(const Chunk& chunk, Contents& contents, std::string& error) {
  if (chunk.length == 0 || chunk.length % 3 != 0 || chunk.length > 256 * 3) {
    error = "the palette (PLTE) holds " + std::to_string(chunk.length) + " bytes, not 1 to 256 colours";
    return false;
  }
  for (std::uint32_t i = 0; i < chunk.length / 3; ++i)
    contents.palette[i] = Rgb(chunk.data[3 * i], chunk.data[3 * i + 1], chunk.data[3 * i + 2]);
  contents.hasPalette = true;
  return true;
}

// The chunks after the header up to the end (IEND, or the file's end right
// after a whole chunk).
bool ReadContents(ChunkWalker& walker, const Layout& layout, Contents& contents, std::string& error) {
  bool dataEnded = false;
  Chunk chunk;
  while (!walker.AtEnd()) {
    if (!walker.Next(chunk, error)) return false;
    if (chunk.Is("IEND")) break;
    if (!contents.imageData.empty() && !chunk.Is("IDAT")) dataEnded = true;
    if (chunk.Is("IDAT")) {
      if (dataEnded) return error = "the image data (IDAT) is split by other chunks", false;
      contents.imageData.emplace_back(reinterpret_cast<const char*>(chunk.data), chunk.length);
    } else if (chunk.Is("PLTE")) {
      if (layout.colourType == kIndexed && !ReadPalette(chunk, contents, error)) return false;
    } else if (chunk.Is("tRNS")) {
      contents.hasTransparency = true;
    } else if (chunk.type[0] >= 'A' && chunk.type[0] <= 'Z') {
      return error = "chunk " + chunk.type + " is unknown and the picture needs it", false;
    }
  }
  if (contents.imageData.empty()) return error = "the file has no image data (IDAT)", false;
  if (layout.colourType == kIndexed && !contents.hasPalette) return error = "the file has no palette (PLTE)", false;
  return true;
}

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

libdeflate_decompressor* ThreadDecompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
      libdeflate_alloc_decompressor());
  return decompressor.get();
}

// All image data inflated in one call into exactly the bytes the header's
// layout makes, in `scratch.inflated`; a stream that makes fewer or more is
// refused.
bool Inflate(const Contents& contents, const Layout& layout, DecodeScratch& scratch, std::string& error) {
  const unsigned char* stream = reinterpret_cast<const unsigned char*>(contents.imageData.front().data());
  std::size_t streamBytes = contents.imageData.front().size();
  if (contents.imageData.size() > 1) {
    streamBytes = 0;
    for (std::string_view part : contents.imageData) streamBytes += part.size();
    scratch.joined.resize(streamBytes);
    std::size_t at = 0;
    for (std::string_view part : contents.imageData) {
      std::memcpy(scratch.joined.data() + at, part.data(), part.size());
      at += part.size();
    }
    stream = scratch.joined.data();
  }
  libdeflate_decompressor* decompressor = ThreadDecompressor();
  if (!decompressor) return error = "out of memory", false;
  const std::size_t expected = layout.ImageBytes();
  scratch.inflated.resize(expected);
  std::size_t inflated = 0;
  const auto result =
      libdeflate_zlib_decompress(decompressor, stream, streamBytes, scratch.inflated.data(), expected, &inflated);
  const std::string needs = " bytes a " + layout.Size() + " picture of its layout needs";
  if (result == LIBDEFLATE_INSUFFICIENT_SPACE)
    return error = "the image data holds more than the " + std::to_string(expected) + needs, false;
  if (result != LIBDEFLATE_SUCCESS) return error = "the image data is damaged (it does not inflate)", false;
  if (inflated != expected)
    return error =
               "the image data ends after " + std::to_string(inflated) + " of the " + std::to_string(expected) + needs,
           false;
  return true;
}

// The `bits`-bit sample `x` of a packed row, first sample in the high bits.
inline unsigned PackedSample(const unsigned char* row, std::uint32_t x, int bits) {
  const std::size_t bit = std::size_t{x} * bits;
  return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

// One unfiltered row as 0x00RRGGBB pixels; alpha is dropped.
void ConvertRow(const Layout& layout, const Contents& contents, const unsigned char* in, Colour* out) {
  const std::uint32_t w = layout.width;
  switch (layout.colourType) {
    case kTruecolour: return ConvertRgbPixels(in, out, static_cast<int>(w));
    case kTruecolourAlpha:
      for (std::uint32_t x = 0; x < w; ++x, in += 4) out[x] = Rgb(in[0], in[1], in[2]);
      return;
    case kGreyAlpha:
      for (std::uint32_t x = 0; x < w; ++x, in += 2) out[x] = in[0] * 0x010101u;
      return;
    case kIndexed:
      if (layout.depth == 8)
        for (std::uint32_t x = 0; x < w; ++x) out[x] = contents.palette[in[x]];
      else
        for (std::uint32_t x = 0; x < w; ++x) out[x] = contents.palette[PackedSample(in, x, layout.depth)];
      return;
    default: {  // grey, its levels stretched to 0 ... 255
      const unsigned scale = 255 / ((1u << layout.depth) - 1);
      if (layout.depth == 8)
        for (std::uint32_t x = 0; x < w; ++x) out[x] = in[x] * 0x010101u;
      else
        for (std::uint32_t x = 0; x < w; ++x) out[x] = PackedSample(in, x, layout.depth) * scale * 0x010101u;
    }
  }
}

bool Unfilter(unsigned char* image, const Layout& layout, const Contents& contents, DecodedPicture& out,
              std::string& error) {
  const std::size_t rowBytes = layout.RowBytes();
  const std::vector<unsigned char> zeros(rowBytes, 0);
  const unsigned char* prior = zeros.data();
  out.width = static_cast<int>(layout.width);
  out.height = static_cast<int>(layout.height);
  out.pixels.resize(std::size_t{layout.width} * layout.height);
  for (std::uint32_t y = 0; y < layout.height; ++y) {
    unsigned char* row = image + y * (1 + rowBytes);
    if (row[0] > 4) {
      error = "row " + std::to_string(y) + " has filter type " + std::to_string(row[0]) + "; there are 0 to 4";
      return false;
    }
    UnfilterRow(row[0], row + 1, prior, rowBytes, layout.PixelBytes());
    ConvertRow(layout, contents, row + 1, out.pixels.data() + std::size_t{y} * layout.width);
    prior = row + 1;
  }
  return true;
}

}  // namespace

PngResult DecodePng(std::string_view file, DecodedPicture& out, std::string& error) {
  DecodeScratch scratch;
  return DecodePng(file, out, error, scratch);
}

PngResult DecodePng(std::string_view file, DecodedPicture& out, std::string& error, DecodeScratch& scratch) {
  if (file.substr(0, kSignature.size()) != kSignature) return PngResult::kOtherFormat;
  ChunkWalker walker(file);
  Chunk chunk;
  if (!walker.Next(chunk, error)) return PngResult::kDamaged;
  Layout layout;
  if (const PngResult header = ReadHeader(chunk, layout, error); header != PngResult::kDecoded) return header;
  Contents contents;
  if (!ReadContents(walker, layout, contents, error)) return PngResult::kDamaged;
  // SDL_image turns a transparent grey level into an alpha channel of its own making.
  if (layout.colourType == kGrey && contents.hasTransparency) return PngResult::kOtherFormat;
  if (!Inflate(contents, layout, scratch, error) || !Unfilter(scratch.inflated.data(), layout, contents, out, error))
    return PngResult::kDamaged;
  return PngResult::kDecoded;
}

}  // namespace pelmot
