#include "platform/common/picload.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/common/files.h"
#ifdef PELMOT_LAZY_SDL_IMAGE
#include "platform/common/lazy_library.h"
#endif
#ifdef PELMOT_PNG_READER
#include "platform/common/png_decode.h"
#endif

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PELMOT_HAVE_SSSE3_PATH 1
#endif

namespace pelmot {
namespace {

#ifdef PELMOT_LAZY_SDL_IMAGE
// SDL_image reads only the pictures our PNG reader does not (BMP, GIF, JPEG,
// rare PNG layouts) and writes the headless screenshots: it and the seven
// libraries it brings are opened when first needed, not at every start.
LazyLibrary sdlImage{PELMOT_SDL_IMAGE_SONAME};
PELMOT_LAZY_FUNCTION(sdlImage, IMG_Init);
PELMOT_LAZY_FUNCTION(sdlImage, IMG_Load_RW);
PELMOT_LAZY_FUNCTION(sdlImage, IMG_SavePNG);
#endif

// SDL_image, its decoders set up once, by whichever thread comes first.
bool SdlImageReady(std::string& error) {
#ifdef PELMOT_LAZY_SDL_IMAGE
  if (!sdlImage.Loads(error)) return false;
#endif
  static std::once_flag initialised;
  std::call_once(initialised, [] { IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG); });
  return true;
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

const Uint8* RowOf(const SDL_Surface* s, int y) {
  return static_cast<const Uint8*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch;
}

// The pixel layouts the PNG decoder produces, which ConvertRow reads.
bool KnownLayout(Uint32 format) {
  return format == SDL_PIXELFORMAT_RGB24 || format == SDL_PIXELFORMAT_BGR24 || format == SDL_PIXELFORMAT_RGBA32 ||
         format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
}

void Rgb24Row(const Uint8* in, Colour* out, int n) {
  for (int i = 0; i < n; ++i, in += 3) out[i] = Rgb(in[0], in[1], in[2]);
}

#ifdef PELMOT_HAVE_SSSE3_PATH
// Four pixels per shuffle: R G B bytes become 0x00RRGGBB words. A load takes
// 16 bytes for the 12 it uses, so it needs five and a third pixels of the
// row left: the last pixels go one by one, and no load reads past the row.
__attribute__((target("ssse3"))) void Rgb24RowSsse3(const Uint8* in, Colour* out, int n) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, -128, 5, 4, 3, -128, 8, 7, 6, -128, 11, 10, 9, -128);
  int i = 0;
  for (; i + 6 <= n; i += 4, in += 12) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_shuffle_epi8(bytes, order));
  }
  Rgb24Row(in, out + i, n - i);
}
#endif

// The most common layout by far (RGB PNGs), converted with the CPU's
// shuffle instruction where it has one.
void ConvertRgb24Row(const Uint8* in, Colour* out, int n) {
#ifdef PELMOT_HAVE_SSSE3_PATH
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (ssse3) return Rgb24RowSsse3(in, out, n);
#endif
  Rgb24Row(in, out, n);
}

// One row of a decoded picture as 0x00RRGGBB pixels.
void ConvertRow(Uint32 format, const Uint8* in, Colour* out, int n) {
  switch (format) {
    case SDL_PIXELFORMAT_RGB24: ConvertRgb24Row(in, out, n); return;
    case SDL_PIXELFORMAT_BGR24:
      for (int i = 0; i < n; ++i, in += 3) out[i] = Rgb(in[2], in[1], in[0]);
      return;
    case SDL_PIXELFORMAT_RGBA32:
      for (int i = 0; i < n; ++i, in += 4) out[i] = Rgb(in[0], in[1], in[2]);
      return;
    case SDL_PIXELFORMAT_RGB888:
    case SDL_PIXELFORMAT_ARGB8888: {
      Uint32 p;
      for (int i = 0; i < n; ++i, in += 4) {
        std::memcpy(&p, in, 4);
        out[i] = p & 0xFFFFFF;
      }
      return;
    }
    default: std::fill(out, out + n, kBlack);
  }
}

struct PictureSize {
  long long width = 0, height = 0;
};

std::uint32_t BigEndian(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

std::uint32_t LittleEndian(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

// JPEG: the size is in the first start-of-frame segment.
std::optional<PictureSize> JpegSize(const std::string& b) {
  std::size_t at = 2;
  while (at + 9 <= b.size() && static_cast<unsigned char>(b[at]) == 0xFF) {
    const unsigned marker = static_cast<unsigned char>(b[at + 1]);
    const std::size_t length = BigEndian(b, at + 2, 2);
    const bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (startOfFrame) return PictureSize{BigEndian(b, at + 7, 2), BigEndian(b, at + 5, 2)};
    if (length < 2) return std::nullopt;
    at += 2 + length;
  }
  return std::nullopt;
}

// The size a picture file says it has, read from its header alone, for the
// formats a picture may come in; nothing for any other file.
std::optional<PictureSize> HeaderSize(const std::string& b) {
  if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 && b.compare(12, 4, "IHDR") == 0)
    return PictureSize{BigEndian(b, 16, 4), BigEndian(b, 20, 4)};
  if (b.size() >= 26 && b.compare(0, 2, "BM") == 0) {
    if (LittleEndian(b, 14, 4) == 12) return PictureSize{LittleEndian(b, 18, 2), LittleEndian(b, 20, 2)};
    const auto height = static_cast<std::int32_t>(LittleEndian(b, 22, 4));  // negative: top-down rows
    return PictureSize{static_cast<std::int32_t>(LittleEndian(b, 18, 4)), std::llabs(height)};
  }
  if (b.size() >= 10 && (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0))
    return PictureSize{LittleEndian(b, 6, 2), LittleEndian(b, 8, 2)};
  if (b.size() >= 4 && b.compare(0, 3, "\xFF\xD8\xFF") == 0) return JpegSize(b);
  return std::nullopt;
}

bool FitsTheScreen(long long width, long long height) {
  return width > 0 && height > 0 && width <= kScreenWidth && height <= kScreenHeight;
}

// The bytes of the picture file at `path`, once its header says it is a
// PNG, BMP, GIF or JPEG picture no larger than the screen; a file claiming
// a huge size never reaches a decoder. False, with `error` set, else.
bool ReadPicture(const std::string& path, std::string& bytes, std::string& error) {
  if (!ReadWholeFileInto(path, kMaxPictureBytes, bytes, error)) {
    if (error.rfind(path + ": ", 0) == 0) error.erase(0, path.size() + 2);  // the warning names it
    return false;
  }
  const auto size = HeaderSize(bytes);
  if (!size) {
    error = "not a PNG, BMP, GIF or JPEG picture";
    return false;
  }
  if (!FitsTheScreen(size->width, size->height)) {
    error = "the picture says it is " + std::to_string(size->width) + " x " + std::to_string(size->height) +
            "; a picture is at most " + std::to_string(kScreenWidth) + " x " + std::to_string(kScreenHeight);
    return false;
  }
  return true;
}

// A picture file's bytes decoded by SDL_image; nothing, with `error` set,
// when it cannot.
SdlSurface LoadWithSdl(const std::string& bytes, std::string& error) {
  if (!SdlImageReady(error)) return nullptr;
  SdlSurface loaded(IMG_Load_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1));
  if (loaded && !FitsTheScreen(loaded->w, loaded->h)) loaded.reset();  // the header lied
  if (!loaded) {
    error = IMG_GetError();
    return nullptr;
  }
  if (KnownLayout(loaded->format->format)) return loaded;
  // Palettes, grey levels and the like: let SDL bring them to one layout.
  SdlSurface converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB888, 0));
  if (!converted) error = SDL_GetError();
  return converted;
}

// The decoded SDL picture as 0x00RRGGBB pixels in its own size.
void CopyOut(const SDL_Surface* picture, DecodedPicture& out) {
  out.width = picture->w;
  out.height = picture->h;
  out.pixels.resize(static_cast<std::size_t>(picture->w) * picture->h);
  for (int y = 0; y < picture->h; ++y)
    ConvertRow(picture->format->format, RowOf(picture, y), out.pixels.data() + static_cast<std::size_t>(y) * picture->w,
               picture->w);
}

}  // namespace

std::string PicturePath(const std::string& folder, int number) {
  return folder + "/" + std::to_string(number) + ".png";
}

bool DecodePictureFile(const std::string& path, DecodedPicture& out, std::string& error) {
  DecodeScratch scratch;
  return DecodePictureFile(path, out, error, scratch);
}

bool DecodePictureFile(const std::string& path, DecodedPicture& out, std::string& error, DecodeScratch& scratch) {
  if (!ReadPicture(path, scratch.file, error)) return false;
  const std::string& bytes = scratch.file;
#ifdef PELMOT_PNG_READER
  // Our own reader takes the common PNG layouts; SDL_image the rest. A file
  // ours refuses still gets libpng's judgement, which forgives some damage
  // (a bad checksum on a comment, data past the picture's end), so every
  // picture that showed before still shows; ours says what is wrong when
  // neither can read it.
  switch (DecodePng(bytes, out, error, scratch)) {
    case PngResult::kDecoded: return true;
    case PngResult::kDamaged: {
      std::string sdlError;
      return DecodeWithSdl(bytes, out, sdlError);
    }
    case PngResult::kOtherFormat: break;
  }
#endif
  return DecodeWithSdl(bytes, out, error);
}

bool DecodeWithSdl(const std::string& bytes, DecodedPicture& out, std::string& error) {
  SdlSurface picture = LoadWithSdl(bytes, error);
  if (!picture) return false;
  CopyOut(picture.get(), out);
  return true;
}

void PlacePicture(const DecodedPicture& picture, Surface& target) {
  std::vector<Colour>& pixels = target.Target();
  const int width = target.Width(), height = target.Height();
  const int w = std::min(picture.width, width), h = std::min(picture.height, height);
  for (int y = 0; y < height; ++y) {
    Colour* row = pixels.data() + static_cast<std::size_t>(y) * width;
    int covered = 0;
    if (y < h) {
      const Colour* from = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
      std::copy(from, from + w, row);
      covered = w;
    }
    std::fill(row + covered, row + width, kBlack);
  }
}

void PlaceSharedPicture(std::shared_ptr<const DecodedPicture> picture, Surface& target) {
  if (picture->width == target.Width() && picture->height == target.Height() &&
      target.BorrowImage(std::shared_ptr<const std::vector<Colour>>(picture, &picture->pixels)))
    return;
  PlacePicture(*picture, target);
}

void ConvertRgbPixels(const unsigned char* rgb, Colour* out, int count) { ConvertRgb24Row(rgb, out, count); }

void WarnUnreadablePicture(std::set<std::string>& warned, const std::string& path, const std::string& error) {
  if (warned.insert(path).second)
    std::fprintf(stderr, "pelmot: warning: cannot read picture %s (%s); showing a placeholder\n", path.c_str(),
                 error.c_str());
}

bool LoadImageFile(const std::string& path, Surface& out) {
  std::string error;
  DecodedPicture picture;
  if (!DecodePictureFile(path, picture, error)) return false;
  out.Resize(picture.width, picture.height);
  out.MutableImage() = std::move(picture.pixels);
  return true;
}

void DrawPicturePlaceholder(Surface& target, int number) {
  const Colour background = Rgb(96, 96, 96), ink = Rgb(230, 230, 230);
  target.FillRect(0, 0, target.Width(), target.Height(), background);
  // Seven-segment digits, 60 x 110 with 20 between them, centred.
  static constexpr unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  struct Bar {
    int bit, x, y, w, h;
  };
  const int digitW = 60, digitH = 110, gap = 20, thick = 12, half = digitH / 2;
  const Bar bars[7] = {{0, 0, 0, digitW, thick},
                       {1, digitW - thick, 0, thick, half},
                       {2, digitW - thick, half, thick, half},
                       {3, 0, digitH - thick, digitW, thick},
                       {4, 0, half, thick, half},
                       {5, 0, 0, thick, half},
                       {6, 0, half - thick / 2, digitW, thick}};
  const std::string digits = std::to_string(number);
  int x0 = (target.Width() - static_cast<int>(digits.size()) * (digitW + gap) + gap) / 2;
  const int y0 = (target.Height() - digitH) / 2;
  for (char c : digits) {
    const unsigned char segments = c >= '0' && c <= '9' ? kSegments[c - '0'] : 0x40;
    for (const Bar& b : bars)
      if (segments & (1 << b.bit)) target.FillRect(x0 + b.x, y0 + b.y, b.w, b.h, ink);
    x0 += digitW + gap;
  }
}

void PngPictureLoader::PicLoad(Surface& target, int number, const std::string& folder) {
  const std::string path = PicturePath(folder, number);
  std::string error;
  auto picture = std::make_shared<DecodedPicture>();
  if (!DecodePictureFile(path, *picture, error)) {
    WarnUnreadablePicture(warned_, path, error);
    DrawPicturePlaceholder(target, number);
    return;
  }
  PlaceSharedPicture(std::move(picture), target);
}

bool SavePng(const std::vector<Colour>& pixels, int width, int height, const std::string& path) {
  std::string error;
  if (!SdlImageReady(error)) return false;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Colour*>(pixels.data()), width, height, 32,
                                                            width * 4, SDL_PIXELFORMAT_RGB888);
  if (!surface) return false;
  const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
  SDL_FreeSurface(surface);
  return ok;
}

}  // namespace pelmot
