// Pages redrawn from what is known about the surfaces must equal pages drawn
// from scratch, whatever else drew into those surfaces in between.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

#include "game_fixture.h"
#include "present/choices.h"
#include "platform/common/picload.h"
#include "present/page_memory.h"
#include "present/pictures.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

using testing::TestGame;

void Paint(Surface& s, unsigned seed) {
  std::mt19937 random(seed);
  auto& pixels = s.MutableImage();
  for (Colour& p : pixels) p = random() & 0xFFFFFF;
}

bool SameInk(const InkLayers& a, const InkLayers& b) {
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      if (a.LayerPixel(x, y) != b.LayerPixel(x, y)) return false;
  return true;
}

// The same steps played on two games: `remembering` keeps what the
// presentation knows between steps, `fresh` forgets it before every step,
// so its pages are drawn from scratch.
class TwoGames {
 public:
  TwoGames() {
    for (TestGame* t : {&remembering, &fresh}) {
      Paint(t->form().MainWork, 1);
      Paint(t->state().SysPic[0], 2);
    }
  }
  void Step(const std::function<void(Game&)>& step) {
    step(remembering.game());
    KnownTextPage(fresh.game()) = {};
    step(fresh.game());
  }
  void ExpectSame(const std::string& after) {
    const MainForm& a = remembering.form();
    const MainForm& b = fresh.form();
    EXPECT_TRUE(a.Msg.Image() == b.Msg.Image()) << "Msg after " << after;
    EXPECT_TRUE(SameInk(a.MsgInk, b.MsgInk)) << "MsgInk after " << after;
    EXPECT_TRUE(a.MainPic.Image() == b.MainPic.Image()) << "MainPic after " << after;
    EXPECT_TRUE(a.MainPic.ScreenPixels() == b.MainPic.ScreenPixels()) << "the screen after " << after;
    EXPECT_EQ(remembering.state().LineNo, fresh.state().LineNo) << after;
  }
  TestGame remembering;
  TestGame fresh;
};

TEST(PageMemory, RedrawnPagesEqualPagesDrawnFromScratch) {
  TwoGames g;
  const std::vector<std::pair<std::string, std::function<void(Game&)>>> steps = {
      {"a long line", [](Game& game) { ShowText2(game, std::string(90, 'a') + "@rいろは"); }},
      {"a short line", [](Game& game) { ShowText2(game, "に"); }},
      {"a continued line", [](Game& game) { ShowText2(game, "@ほへと"); }},
      {"a choice",
       [](Game& game) {
         ShowChoice2(game, {"ち", "り", "ぬ", "", ""});
       }},
      {"a line after the choice", [](Game& game) { ShowText2(game, "るを"); }},
      {"a foreign pixel in the text layers", [](Game& game) { game.form.MsgInk.Ink(700, 500, 1, Rgb(1, 2, 3)); }},
      {"a line over it", [](Game& game) { ShowText2(game, "わか"); }},
      {"a foreign mark in the layers",
       [](Game& game) {
         for (int y = 300; y < 309; ++y) game.form.MsgInk.Ink(600, y, 9, Rgb(9, 9, 9));
       }},
      {"a window line", [](Game& game) { ShowText(game, "よたれ"); }},
      {"a continued window line", [](Game& game) { ShowText(game, "@そつね"); }},
      {"a window choice",
       [](Game& game) {
         ShowChoice(game, {"な", "ら", "", "", ""});
       }},
      {"a new picture", [](Game& game) { Paint(game.form.MainWork, 3); }},
      {"a line on it", [](Game& game) { ShowText2(game, "むう"); }},
      {"a frame on the screen",
       [](Game& game) {
         game.form.MainPic.SetPersistent(false);
         game.form.MainPic.Line(10, 10, 300, 10, kWhite);
       }},
      {"a line after the frame", [](Game& game) { ShowText2(game, "ゐの"); }},
      {"a frame kept in MainPic",
       [](Game& game) {
         game.form.MainPic.SetPersistent(true);
         game.form.MainPic.FillRect(0, 580, 800, 20, kWhite);
       }},
      {"a line after that", [](Game& game) { ShowText2(game, "おく"); }},
      {"a changed page", [](Game& game) { game.form.Msg.FillRect(0, 300, 800, 4, kWhite); }},
      {"a line over the changed page", [](Game& game) { ShowText2(game, "やま"); }},
      {"a new mask", [](Game& game) { Paint(game.state.SysPic[0], 4); }},
      {"a line with the new mask", [](Game& game) { ShowText2(game, "けふ"); }},
      {"a window line with it", [](Game& game) { ShowText(game, "こえ"); }},
      {"the same line again", [](Game& game) { ShowText(game, "こえ"); }},
  };
  for (const auto& [name, step] : steps) {
    g.Step(step);
    g.ExpectSame(name);
  }
}

// With Shift held, pages come faster than anyone looks at them: a page is
// painted only when its pixels are used, or before what it is made from
// changes. Whatever was skipped unseen, what is seen, read or copied
// later is what painting every page at once gives.
TEST(PageMemory, PagesLookedAtLateEqualPagesLookedAtAtOnce) {
  TestGame watched, unwatched;
  std::mt19937 random(9);
  for (TestGame* t : {&watched, &unwatched}) std::filesystem::create_directories(t->game().PictureFolder());
  for (int n : {3, 4}) {
    std::vector<Colour> noise(kScreenPixels);
    for (Colour& p : noise) p = random() & 0xFFFFFF;
    ASSERT_TRUE(SavePng(noise, 800, 600, PicturePath(watched.game().PictureFolder(), n)));
    ASSERT_TRUE(SavePng(noise, 800, 600, PicturePath(unwatched.game().PictureFolder(), n)));
  }
  for (TestGame* t : {&watched, &unwatched}) Paint(t->state().SysPic[0], 2);
  struct Step {
    std::string name;
    std::function<void(Game&)> step;
    bool look = false;  // the unwatched game is looked at after it
  };
  const std::vector<Step> steps = {
      {"a line", [](Game& game) { ShowText2(game, "いろは"); }},
      {"a line replacing it", [](Game& game) { ShowText2(game, "にほへと@rちりぬ"); }},
      {"a picture", [](Game& game) { LoadIntoMainWork(game, 3); }},
      {"a line on it", [](Game& game) { ShowText2(game, "るを"); }},
      {"a window line", [](Game& game) { ShowText(game, "わかよ"); }, true},
      {"another picture", [](Game& game) { LoadIntoMainWork(game, 4); }},
      {"and another before any line", [](Game& game) { LoadIntoMainWork(game, 3); }, true},
      {"a line", [](Game& game) { ShowText(game, "たれそ"); }},
      {"a continued window line", [](Game& game) { ShowText(game, "@つね"); }},
      {"a fresh line", [](Game& game) { ShowText(game, "なら"); }},
      {"a picture shown at once", [](Game& game) { ShowEventPic(game, 4, PictureShow::Now); }, true},
      {"a line", [](Game& game) { ShowText2(game, "むう"); }},
      {"a new mask", [](Game& game) { Paint(game.state.SysPic[0], 4); }},
      {"a line with it", [](Game& game) { ShowText2(game, "ゐの"); }},
      {"a choice", [](Game& game) { ShowChoice2(game, {"お", "く", "", "", ""}); }},
      {"a line", [](Game& game) { ShowText(game, "やま"); }},
      {"a background", [](Game& game) { LoadBackgroundPicture(game, 3); }},
      {"the last line", [](Game& game) { ShowText2(game, "けふ"); }, true},
  };
  for (const Step& s : steps) {
    s.step(watched.game());
    s.step(unwatched.game());
    const MainForm& a = watched.form();
    const std::vector<Colour> seen = a.MainPic.ScreenPixels();
    if (!s.look) continue;
    // Copies, as a screenshot or a save's preview takes them.
    const Surface shown = unwatched.form().MainPic;
    const Surface page = unwatched.form().Msg;
    EXPECT_TRUE(shown.ScreenPixels() == seen) << "the screen after " << s.name;
    EXPECT_TRUE(shown.Image() == a.MainPic.Image()) << "MainPic after " << s.name;
    EXPECT_TRUE(page.Image() == a.Msg.Image()) << "Msg after " << s.name;
    EXPECT_TRUE(unwatched.form().MainWork.Image() == a.MainWork.Image()) << "MainWork after " << s.name;
  }
}

TEST(PageMemory, OnlyTheTextRowsAreRewrittenOnTheSamePicture) {
  TestGame t;
  Paint(t.form().MainWork, 5);
  ShowText2(t.game(), "いろは");
  ShowText2(t.game(), "にほへと");
  const TextPageFacts& known = KnownTextPage(t.game());
  EXPECT_TRUE(known.page.HoldsFor(t.form().Msg, t.form().MainWork, t.state().SysPic[0], {0, 0, 800, 600, 0, 0}));
  EXPECT_TRUE(known.shown.HoldsFor(t.form().MainPic, t.form().Msg));
  EXPECT_LT(known.page.text.bottom, 100) << "one row of text";
  for (int y = known.page.text.bottom; y < kScreenHeight; ++y) ASSERT_FALSE(t.form().MsgInk.RowInked(y)) << y;
}

TEST(SurfaceRevision, EveryChangeGivesANewNumber) {
  Surface a(10, 10), b(10, 10);
  EXPECT_NE(a.Revision(), b.Revision());
  std::uint64_t seen = a.Revision();
  auto changed = [&] {
    const bool moved = a.Revision() != seen;
    seen = a.Revision();
    return moved;
  };
  a.FillRect(0, 0, 2, 2, kWhite);
  EXPECT_TRUE(changed());
  a.SetImagePixel(1, 1, kBlack);
  EXPECT_TRUE(changed());
  a.MutableImage();
  EXPECT_TRUE(changed());
  a.BitBlt(0, 0, 5, 5, b, 0, 0, Rop::SrcAnd);
  EXPECT_TRUE(changed());
  a.Clear();
  EXPECT_TRUE(changed());
  a.Resize(10, 10);
  EXPECT_TRUE(changed());
  EXPECT_EQ(a.ImagePixel(0, 0), kBlack);
  EXPECT_FALSE(changed()) << "reading changes nothing";
}

}  // namespace
}  // namespace pelmot
