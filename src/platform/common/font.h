// The window's font through FreeType: "ＭＳ ゴシック" where fontconfig knows it,
// IPAGothic otherwise (the same metrics: full-width characters one em wide,
// half-width ones half an em). Beside it, when installed, DejaVu Sans: the
// proportional face of languages written with spaces between words.
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

// The window's font file and the western face's: DejaVu Sans by fontconfig,
// then by its Debian path (an empty path when none is found). One look
// through the fonts for both.
struct FontFiles {
  FontFile window;
  FontFile western;
};
FontFiles FindFontFiles();

class FreeTypeTextEngine : public TextEngine {
 public:
  // nullptr when FreeType cannot open the window's font. A western face
  // that is not given or cannot be opened leaves the engine with the
  // window's face alone.
  static std::unique_ptr<FreeTypeTextEngine> Open(const FontFile& file, const FontFile& western = {});
  ~FreeTypeTextEngine() override;
  FreeTypeTextEngine(const FreeTypeTextEngine&) = delete;
  FreeTypeTextEngine& operator=(const FreeTypeTextEngine&) = delete;

  // In the western face a character comes from DejaVu Sans when it has a
  // glyph for it, else from the window's face (kana, kanji, full-width
  // forms). Both share the window face's baseline, so a mixed row lines up.
  void SetFace(TextFace face) override;
  // False when the western face is missing: TextFace::kWestern then draws
  // with the window's face.
  bool HasWesternFace() const;

  // Sum of the characters' advances; no kerning, so a row's width is the sum
  // of its characters' widths.
  int Width(std::string_view utf8, int pixelSize) override;
  void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) override;
  bool EachSpan(int x, int y, std::string_view utf8, int pixelSize, const SpanSink& span) override;

  // Smoothed drawing that blends the glyph edges into the pixels below; for
  // the picture generator, never for the page composition.
  void DrawSmooth(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize);

 private:
  struct Glyph {
    int advance = 0;
    std::vector<GlyphRun> spans;
  };
  // Rendered glyphs of one face and pixel size in pages of 256 code points:
  // finding one is two indexings, which matters because a row being laid
  // out is measured again after every character. The western face's cache
  // holds each character as drawn in that face, whichever font it came from.
  struct GlyphPage {
    std::array<std::unique_ptr<Glyph>, 256> glyphs;
  };
  struct SizeCache {
    int pixelSize = 0;
    TextFace face = TextFace::kWindow;
    std::vector<std::unique_ptr<GlyphPage>> pages;
  };
  struct Handles;
  struct Face;

  explicit FreeTypeTextEngine(std::unique_ptr<Handles> handles);
  const Glyph& GlyphFor(char32_t cp, int pixelSize);
  Glyph Render(char32_t cp, int pixelSize);
  int Ascent(int pixelSize) const;

  std::unique_ptr<Handles> ft_;
  TextFace face_ = TextFace::kWindow;
  std::vector<SizeCache> cache_;
};

}  // namespace pelmot
