// The window's font through FreeType: "ＭＳ ゴシック" where fontconfig knows it,
// IPAGothic otherwise (the same metrics: full-width characters one em wide,
// half-width ones half an em).
//
// Glyphs are drawn one bit deep: a pixel is either the colour or untouched.
// The page composition ANDs a mask and XORs a text layer, which has no room
// for partial coverage; with whole pixels, every text pixel of the page is
// exactly the colour asked for, and no edge picks up noise from the picture.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"

namespace pelmot {

struct FontFile {
  std::string path;
  int index = 0;  // face within a collection (.ttc)
};

// The font file for the window's text: "ＭＳ ゴシック" or "MS Gothic" if
// fontconfig has it, else IPAGothic (by fontconfig, then by its Debian path).
// An empty path when none is found.
FontFile FindWindowFontFile();

class FreeTypeTextEngine : public TextEngine {
 public:
  // nullptr when FreeType cannot open the file.
  static std::unique_ptr<FreeTypeTextEngine> Open(const FontFile& file);
  ~FreeTypeTextEngine() override;
  FreeTypeTextEngine(const FreeTypeTextEngine&) = delete;
  FreeTypeTextEngine& operator=(const FreeTypeTextEngine&) = delete;

  // Sum of the characters' advances; no kerning, so a row's width is the sum
  // of its characters' widths.
  int Width(std::string_view utf8, int pixelSize) override;
  void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) override;

  // Smoothed drawing that blends the glyph edges into the pixels below; for
  // the picture generator, never for the page composition.
  void DrawSmooth(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize);

 private:
  struct Span {
    std::int16_t dy, dx, length;  // from the top-left corner of the cell
  };
  struct Glyph {
    int advance = 0;
    std::vector<Span> spans;
  };
  // Rendered glyphs of one pixel size in pages of 256 code points: finding
  // one is two indexings, which matters because a row being laid out is
  // measured again after every character.
  struct GlyphPage {
    std::array<std::unique_ptr<Glyph>, 256> glyphs;
  };
  struct SizeCache {
    int pixelSize = 0;
    std::vector<std::unique_ptr<GlyphPage>> pages;
  };
  struct Handles;

  explicit FreeTypeTextEngine(std::unique_ptr<Handles> handles);
  const Glyph& GlyphFor(char32_t cp, int pixelSize);
  Glyph Render(char32_t cp, int pixelSize);
  bool SetSize(int pixelSize);
  int Ascent(int pixelSize) const;

  std::unique_ptr<Handles> ft_;
  int currentSize_ = 0;
  std::vector<SizeCache> cache_;
};

}  // namespace pelmot
