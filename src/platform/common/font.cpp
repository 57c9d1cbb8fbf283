#include "platform/common/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "platform/common/files.h"
#include "platform/utf8.h"

namespace pelmot {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

// Coverage at or above this counts as ink in the one-bit glyphs: the 50 %
// line keeps strokes as thick as the outline says.
constexpr int kInkThreshold = 128;

// FreeType reads the font file through pread rather than mapping it: the
// glyphs of a large CJK face lie far apart, and a mapping would keep a page
// of the file resident for each glyph ever drawn.
unsigned long ReadFontBytes(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
  if (count == 0) return offset <= stream->size ? 0 : 1;  // a seek: 0 when it lands inside the file
  return ReadAt(static_cast<int>(stream->descriptor.value), buffer, count, offset);
}

void CloseFontFile(FT_Stream stream) {
  ::close(static_cast<int>(stream->descriptor.value));
  delete stream;
}

// The face in `path` read through a stream of its own, which FreeType
// closes with the face (FT_OPEN_STREAM leaves the stream to its owner, so
// the stream's close frees it).
FT_Error OpenFaceByReading(FT_Library library, const std::string& path, FT_Long index, FT_Face* face) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd < 0) return FT_Err_Cannot_Open_Resource;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return FT_Err_Cannot_Open_Resource;
  }
  auto* stream = new FT_StreamRec{};
  stream->size = static_cast<unsigned long>(info.st_size);
  stream->descriptor.value = fd;
  stream->read = ReadFontBytes;
  stream->close = CloseFontFile;
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = stream;
  return FT_Open_Face(library, &args, index, face);
}

}  // namespace

// One open face and the pixel size it is set to.
struct FreeTypeTextEngine::Face {
  FT_Face face = nullptr;
  int currentSize = 0;
  ~Face() { Close(); }
  void Close() {
    if (face) FT_Done_Face(face);
    face = nullptr;
  }
  // False, with no face, when FreeType cannot use the file.
  bool Open(FT_Library library, const FontFile& file) {
    if (file.path.empty() || OpenFaceByReading(library, file.path, file.index, &face) != 0) {
      face = nullptr;
      return false;
    }
    if (FT_IS_SCALABLE(face) || face->num_fixed_sizes > 0) return true;
    Close();
    return false;
  }
  bool SetSize(int pixelSize) {
    if (pixelSize == currentSize) return true;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return false;
    currentSize = pixelSize;
    return true;
  }
};

// The faces are released before the library that made them.
struct FreeTypeTextEngine::Handles {
  struct Library {
    FT_Library library = nullptr;
    ~Library() {
      if (library) FT_Done_FreeType(library);
    }
  } library;
  Face window;
  Face western;  // no face when DejaVu Sans is missing
};

std::unique_ptr<FreeTypeTextEngine> FreeTypeTextEngine::Open(const FontFile& file, const FontFile& western) {
  auto handles = std::make_unique<Handles>();
  if (FT_Init_FreeType(&handles->library.library) != 0) return nullptr;
  if (!handles->window.Open(handles->library.library, file)) return nullptr;
  handles->western.Open(handles->library.library, western);
  return std::unique_ptr<FreeTypeTextEngine>(new FreeTypeTextEngine(std::move(handles)));
}

FreeTypeTextEngine::FreeTypeTextEngine(std::unique_ptr<Handles> handles) : ft_(std::move(handles)) {}

FreeTypeTextEngine::~FreeTypeTextEngine() = default;

bool FreeTypeTextEngine::HasWesternFace() const { return ft_->western.face != nullptr; }

void FreeTypeTextEngine::SetFace(TextFace face) {
  // Without DejaVu Sans the western face is the window's: one cache, the
  // same pixels.
  face_ = HasWesternFace() ? face : TextFace::kWindow;
}

// The baseline lies this far below the top of a character cell: the window
// face's ascender scaled to the size (21 of 24 pixels for these fonts), in
// either face.
int FreeTypeTextEngine::Ascent(int pixelSize) const {
  const FT_Face face = ft_->window.face;
  if (face->units_per_EM == 0) return pixelSize * 7 / 8;
  return static_cast<int>(std::lround(static_cast<double>(face->ascender) * pixelSize / face->units_per_EM));
}

FreeTypeTextEngine::Glyph FreeTypeTextEngine::Render(char32_t cp, int pixelSize) {
  Glyph glyph;
  Face& from =
      face_ == TextFace::kWestern && FT_Get_Char_Index(ft_->western.face, cp) != 0 ? ft_->western : ft_->window;
  if (pixelSize <= 0 || !from.SetSize(pixelSize)) return glyph;
  const FT_Face face = from.face;
  if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return glyph;
  const FT_GlyphSlot slot = face->glyph;
  // The linear advance is the outline's own, free of hinting: a full-width
  // character measures exactly one em.
  glyph.advance = static_cast<int>((slot->linearHoriAdvance + 0x8000) >> 16);
  const FT_Bitmap& bitmap = slot->bitmap;
  const int top = Ascent(pixelSize) - slot->bitmap_top;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
    auto inked = [&](unsigned col) {
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return ((line[col >> 3] >> (7 - (col & 7))) & 1) != 0;
      return line[col] >= kInkThreshold;
    };
    unsigned col = 0;
    while (col < bitmap.width) {
      if (!inked(col)) {
        ++col;
        continue;
      }
      const unsigned begin = col;
      while (col < bitmap.width && inked(col)) ++col;
      glyph.spans.push_back({static_cast<std::int16_t>(top + static_cast<int>(row)),
                             static_cast<std::int16_t>(slot->bitmap_left + static_cast<int>(begin)),
                             static_cast<std::int16_t>(col - begin)});
    }
  }
  return glyph;
}

const FreeTypeTextEngine::Glyph& FreeTypeTextEngine::GlyphFor(char32_t cp, int pixelSize) {
  if (cp > kLastCodePoint) cp = U'\uFFFD';
  SizeCache* sizeCache = nullptr;
  for (SizeCache& c : cache_)
    if (c.pixelSize == pixelSize && c.face == face_) sizeCache = &c;
  if (!sizeCache) {
    cache_.push_back({pixelSize, face_, std::vector<std::unique_ptr<GlyphPage>>((kLastCodePoint >> 8) + 1)});
    sizeCache = &cache_.back();
  }
  std::unique_ptr<GlyphPage>& page = sizeCache->pages[cp >> 8];
  if (!page) page = std::make_unique<GlyphPage>();
  std::unique_ptr<Glyph>& glyph = page->glyphs[cp & 0xFF];
  if (!glyph) glyph = std::make_unique<Glyph>(Render(cp, pixelSize));
  return *glyph;
}

int FreeTypeTextEngine::Width(std::string_view utf8, int pixelSize) {
  int width = 0;
  for (char32_t cp : DecodeUtf8(utf8)) width += GlyphFor(cp, pixelSize).advance;
  return width;
}

bool FreeTypeTextEngine::EachSpan(int x, int y, std::string_view utf8, int pixelSize, const SpanSink& span) {
  for (char32_t cp : DecodeUtf8(utf8)) {
    const Glyph& glyph = GlyphFor(cp, pixelSize);
    if (!glyph.spans.empty()) span(x, y, glyph.spans);
    x += glyph.advance;
  }
  return true;
}

void FreeTypeTextEngine::Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) {
  std::vector<Colour>& pixels = target.Target();
  const int width = target.Width(), height = target.Height();
  EachSpan(x, y, utf8, pixelSize, [&](int cellX, int cellY, std::span<const GlyphRun> runs) {
    for (const GlyphRun& run : runs) {
      const int row = cellY + run.dy;
      const int x0 = std::max(cellX + run.dx, 0), x1 = std::min(cellX + run.dx + run.length, width);
      if (row < 0 || row >= height || x0 >= x1) continue;
      std::fill(pixels.data() + static_cast<std::size_t>(row) * width + x0,
                pixels.data() + static_cast<std::size_t>(row) * width + x1, colour);
    }
  });
  target.MarkChanged();
}

void FreeTypeTextEngine::DrawSmooth(Surface& target, int x, int y, std::string_view utf8, Colour colour,
                                    int pixelSize) {
  if (pixelSize <= 0 || !ft_->window.SetSize(pixelSize)) return;
  std::vector<Colour>& pixels = target.Target();
  const int width = target.Width(), height = target.Height();
  const FT_Face face = ft_->window.face;
  const int baseline = y + Ascent(pixelSize);
  for (char32_t cp : DecodeUtf8(utf8)) {
    if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int yy = baseline - slot->bitmap_top + static_cast<int>(row);
        if (yy < 0 || yy >= height) continue;
        for (unsigned col = 0; col < bitmap.width; ++col) {
          const int xx = x + slot->bitmap_left + static_cast<int>(col);
          const int a = bitmap.buffer[static_cast<long>(row) * bitmap.pitch + col];
          if (xx < 0 || xx >= width || a == 0) continue;
          Colour& p = pixels[static_cast<std::size_t>(yy) * width + xx];
          Colour out = 0;
          for (int shift = 0; shift <= 16; shift += 8) {
            const int below = (p >> shift) & 0xFF, over = (colour >> shift) & 0xFF;
            out |= static_cast<Colour>((below * (255 - a) + over * a + 127) / 255) << shift;
          }
          p = out;
        }
      }
    }
    x += static_cast<int>((slot->linearHoriAdvance + 0x8000) >> 16);
  }
  target.MarkChanged();
}

}  // namespace pelmot
