// The window's real font: its metrics, its one-bit drawing, and a page
// composed with it that holds nothing but picture, face and shadow pixels.
#include <gtest/gtest.h>

#include "game_fixture.h"
#include "platform/cell_text.h"
#include "platform/common/font.h"
#include "platform/common/text_factory.h"
#include "present/choices.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

std::unique_ptr<FreeTypeTextEngine> OpenWindowFont() {
  const FontFile file = FindWindowFontFile();
  return file.path.empty() ? nullptr : FreeTypeTextEngine::Open(file);
}

#define REQUIRE_FONT(font) \
  if (!(font)) GTEST_SKIP() << "no window font installed (fonts-ipafont-gothic)"

// Both faces, or nullptr when either font is missing.
std::unique_ptr<FreeTypeTextEngine> OpenBothFaces() {
  const FontFiles files = FindFontFiles();
  if (files.window.path.empty() || files.western.path.empty()) return nullptr;
  auto font = FreeTypeTextEngine::Open(files.window, files.western);
  if (!font || !font->HasWesternFace()) return nullptr;
  return font;
}

Surface Drawn(TextEngine& font, std::string_view text, int pixelSize = 24) {
  Surface s(10 * pixelSize, 2 * pixelSize);
  s.FillRect(0, 0, s.Width(), s.Height(), kBlack);
  font.Draw(s, 4, pixelSize / 3, text, kWhite, pixelSize);
  return s;
}

// The lowest inked row of a drawing: where its letters stand.
int LowestInk(const Surface& s) {
  for (int y = s.Height() - 1; y >= 0; --y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.ImagePixel(x, y) == kWhite) return y;
  return -1;
}

TEST(WindowFont, FullWidthIsOneEmAndHalfWidthHalf) {
  auto font = OpenWindowFont();
  REQUIRE_FONT(font);
  EXPECT_EQ(font->Width("あ", 24), 24);
  EXPECT_EQ(font->Width("ａ", 24), 24);
  EXPECT_EQ(font->Width("a", 24), 12);
  EXPECT_EQ(font->Width("ｱ", 24), 12) << "half-width katakana";
  EXPECT_EQ(font->Width("あa。", 24), 60) << "characters, not bytes";
  EXPECT_EQ(font->Width("あいう", 20), 60);
  EXPECT_EQ(font->Width("", 24), 0);
}

TEST(WindowFont, DrawsOnlyTheColourAndOnlyNearItsCells) {
  auto font = OpenWindowFont();
  REQUIRE_FONT(font);
  Surface s(200, 100);
  const Colour back = Rgb(0x12, 0x34, 0x56), ink = Rgb(0xF0, 0xF0, 0xF0);
  s.FillRect(0, 0, 200, 100, back);
  font->Draw(s, 40, 30, "漢字aG", ink, 24);
  int inked = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) {
      const Colour p = s.ImagePixel(x, y);
      ASSERT_TRUE(p == back || p == ink) << "pixel " << x << "," << y;
      if (p != ink) continue;
      ++inked;
      EXPECT_GE(x, 40);
      EXPECT_LT(x, 40 + 72);
      EXPECT_GE(y, 30 - 4);
      EXPECT_LT(y, 30 + 24 + 4);
    }
  EXPECT_GT(inked, 100);
  // Drawn again from the glyph cache: the same pixels.
  Surface again(200, 100);
  again.FillRect(0, 0, 200, 100, back);
  font->Draw(again, 40, 30, "漢字aG", ink, 24);
  EXPECT_EQ(again.Image(), s.Image());
}

TEST(WindowFont, ClipsAtTheSurfaceEdges) {
  auto font = OpenWindowFont();
  REQUIRE_FONT(font);
  Surface s(30, 30);
  font->Draw(s, -10, -10, "漢漢", kWhite, 24);
  font->Draw(s, 20, 20, "漢漢", kWhite, 24);
  int inked = 0;
  for (Colour p : s.Image()) inked += p == kWhite;
  EXPECT_GT(inked, 0);
}

TEST(WindowFont, IsWhatTheGameDrawsWith) {
  if (FindWindowFontFile().path.empty()) GTEST_SKIP() << "no window font installed";
  auto engine = MakeWindowFont();
  EXPECT_NE(dynamic_cast<FreeTypeTextEngine*>(engine.get()), nullptr);
}

TEST(WesternFace, IsProportionalBorrowsKanaAndLeavesTheWindowFaceAsItWas) {
  auto both = OpenBothFaces();
  auto windowOnly = OpenWindowFont();
  if (!both) GTEST_SKIP() << "no window font, or no DejaVu Sans (fonts-dejavu-core)";
  const std::string mixed = "Wi漢あaG";
  const Surface before = Drawn(*windowOnly, mixed);
  both->SetFace(TextFace::kWestern);
  EXPECT_LT(both->Width("i", 24), both->Width("W", 24));
  EXPECT_NE(both->Width("Wi", 24), 24) << "not the window face's half-width cells";
  // Kana and kanji come from the window face, at its pixels and advances.
  EXPECT_EQ(both->Width("W漢あ", 24), both->Width("W", 24) + 48);
  EXPECT_EQ(Drawn(*both, "漢あ").Image(), Drawn(*windowOnly, "漢あ").Image());
  // One baseline, the window face's: DejaVu's "H" stands on it, IPAGothic's
  // a twentieth of an em above it (5 pixels at this size); on DejaVu's own
  // ascent it would stand 5 pixels lower still.
  const int westernFoot = LowestInk(Drawn(*both, "H", 96)), windowFoot = LowestInk(Drawn(*windowOnly, "H", 96));
  EXPECT_GE(westernFoot, windowFoot);
  EXPECT_LE(westernFoot, windowFoot + 6);
  const Surface western = Drawn(*both, mixed);
  for (Colour p : western.Image()) ASSERT_TRUE(p == kBlack || p == kWhite) << "one bit deep";
  EXPECT_NE(western.Image(), before.Image());
  // Back in the window face: exactly what an engine without DejaVu draws.
  both->SetFace(TextFace::kWindow);
  EXPECT_EQ(both->Width(mixed, 24), windowOnly->Width(mixed, 24));
  EXPECT_EQ(Drawn(*both, mixed).Image(), before.Image());
}

TEST(WesternFace, MissingDejaVuDrawsWithTheWindowFaceAndSaysSo) {
  const FontFile window = FindWindowFontFile();
  if (window.path.empty()) GTEST_SKIP() << "no window font installed";
  auto font = FreeTypeTextEngine::Open(window, {"/nonexistent/DejaVuSans.ttf", 0});
  ASSERT_TRUE(font);
  EXPECT_FALSE(font->HasWesternFace());
  auto windowOnly = FreeTypeTextEngine::Open(window);
  font->SetFace(TextFace::kWestern);
  EXPECT_EQ(Drawn(*font, "Wi漢あaG").Image(), Drawn(*windowOnly, "Wi漢あaG").Image());
  EXPECT_NE(MissingWesternFaceText(*font), "");
  if (auto both = OpenBothFaces()) {
    EXPECT_EQ(MissingWesternFaceText(*both), "");
  }
  // Without any font the blocks were already reported.
  EXPECT_EQ(MissingWesternFaceText(CellTextEngine()), "");
}

// A game drawing with the real font.
class RealFontGame {
 public:
  explicit RealFontGame(TextEngine& font)
      : services_{clock_, dialogs_, display_, multimedia_, pictures_, font, files_, codePage_, lock_, clock_},
        game_(services_, GamePaths{dir_.path(), dir_.path()}, StandardModes()) {
    game_.form.Msg.fontPixels = 24;
    game_.form.MsgInk.fontPixels = 24;
  }
  Game& game() { return game_; }

 private:
  testing::TempDir dir_;
  HeadlessClock clock_;
  HeadlessDialogs dialogs_;
  HeadlessDisplay display_;
  HeadlessMultimedia multimedia_;
  PngPictureLoader pictures_;
  SystemFiles files_;
  Cp932CodePage codePage_;
  FileInstanceLock lock_;
  Services services_;
  Game game_;
};

// The real font drawn whole into a picture, as an engine that gives no
// runs of pixels draws: the page must come out the same either way.
class DrawsOnly : public TextEngine {
 public:
  explicit DrawsOnly(TextEngine& inner) : inner_(inner) {}
  void SetFace(TextFace face) override { inner_.SetFace(face); }
  int Width(std::string_view utf8, int pixelSize) override { return inner_.Width(utf8, pixelSize); }
  void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) override {
    inner_.Draw(target, x, y, utf8, colour, pixelSize);
  }

 private:
  TextEngine& inner_;
};

void ShowPageWithChoice(Game& game) {
  Surface& picture = game.form.MainWork;
  Surface& mask = game.state.SysPic[0];
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      picture.SetImagePixel(x, y, Rgb(x % 256, y % 256, (x * y) % 256));
      mask.SetImagePixel(x, y, (x + y) % 2 ? kWhite : Rgb(0x7F, 0x7F, 0x7F));
    }
  const std::string line =
      "「今日はいい天気ですね。」彼女はそう言って、窓の外を見た。Ｔｈｅ ｓｋｙ was clear; "
      "風が、少しだけ冷たかった。";
  ShowText2(game, line);
  ShowChoice2(game, {"はい", "いいえ", "", "", ""});
}

TEST(WindowFont, ComposedPageHoldsOnlyPictureFaceAndShadow) {
  auto font = OpenWindowFont();
  REQUIRE_FONT(font);
  RealFontGame g(*font);
  Game& game = g.game();
  ShowPageWithChoice(game);
  const Surface& picture = game.form.MainWork;
  const Surface& mask = game.state.SysPic[0];
  DrawsOnly drawsOnly(*font);
  RealFontGame whole(drawsOnly);
  ShowPageWithChoice(whole.game());
  ASSERT_EQ(whole.game().form.MainPic.ScreenPixels(), game.form.MainPic.ScreenPixels())
      << "inked by runs and inked from a drawn picture differ";
  int face = 0, shadow = 0, optionShadow = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const Colour p = game.form.MainPic.ScreenPixel(x, y);
      const Colour dimmed = picture.ImagePixel(x, y) & mask.ImagePixel(x, y);
      if (p == dimmed) continue;
      face += p == Rgb(240, 240, 240);
      shadow += p == Rgb(64, 64, 64);
      optionShadow += p == Rgb(80, 80, 80);
      ASSERT_TRUE(p == Rgb(240, 240, 240) || p == Rgb(64, 64, 64) || p == Rgb(80, 80, 80))
          << "pixel " << x << "," << y << " is " << std::hex << p;
    }
  EXPECT_GT(face, 1000);
  EXPECT_GT(shadow, 300);
  EXPECT_GT(optionShadow, 30);
}

}  // namespace
}  // namespace pelmot
