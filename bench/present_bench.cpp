// Presentation costs with the real font and the default pictures: a text
// line on a fresh page, a choice, a picture with and without decoding, and
// whole steps driven through the click handler.
#include <SDL_image.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>

#include "comforts/comforts.h"
#include "flow/input.h"
#include "flow/mode_units.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "platform/cell_text.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"
#include "platform/common/font.h"
#include "platform/common/instance_lock.h"
#include "platform/common/picload.h"
#include "platform/headless/headless_services.h"
#include "present/system_pictures.h"
#include "present/choices.h"
#include "present/menu_page.h"
#include "present/pictures.h"
#include "present/text_window.h"
#include "scenes/scene_table.h"
#include "shell/screen.h"

namespace pelmot {
namespace {

// 98 characters, the longest scenario line.
std::string LongLine() {
  std::string line;
  const char* pieces[] = {"「", "今", "日", "は", "、", "い", "い", "天", "気", "で", "す", "ね", "。", "」"};
  for (int i = 0; i < 98; ++i) line += pieces[i % 14];
  return line;
}

class OneStepScene : public SceneRunner {
 public:
  std::function<void(Game&)> step;
  void Run(Game& game, ProcedureLabel, int) override { step(game); }
};

// A game on the headless services with the window's font and the pictures
// the build generated.
class BenchGame {
 public:
  BenchGame()
      : font_(OpenFont()),
        services_{clock_, dialogs_, display_, multimedia_, pictures_, *font_, files_, codePage_, lock_, clock_},
        game_(services_, GamePaths{std::filesystem::temp_directory_path().string(), PELMOT_CONTENT_DIR},
              StandardModes()) {
    MainForm& f = game_.form;
    for (Surface* s : {&f.Msg, &f.CMenu}) s->fontPixels = 24;
    f.MsgInk.fontPixels = 24;
    f.MainPic.visible = true;
    LoadSystemPicture(game_, kDimmingMask);  // as the game loads it at start
    auto scene = std::make_unique<OneStepScene>();
    scene_ = scene.get();
    Scenes(game_).runner = std::move(scene);
    game_.state.FlowMode = kModeScene;
    game_.state.SceneNo = 0;
    game_.state.ClickAdvances = true;
    for (int n = 0; n < 135; ++n) game_.state.CgSeen[n] = 1;  // no seen-flag writes
  }
  Game& game() { return game_; }
  void SetStep(std::function<void(Game&)> step) { scene_->step = std::move(step); }
  void Click() {
    RouteMouseDown(game_, kLeftButton, 0, 400, 300);
    AfterEvent(game_);
  }

 private:
  static std::unique_ptr<TextEngine> OpenFont() {
    const FontFile file = FindWindowFontFile();
    if (!file.path.empty())
      if (auto font = FreeTypeTextEngine::Open(file)) return font;
    return std::make_unique<CellTextEngine>();
  }
  std::unique_ptr<TextEngine> font_;
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
  OneStepScene* scene_ = nullptr;
};

void BM_ShowText2_98CharactersFreshPage(benchmark::State& state) {
  BenchGame g;
  ShowEventPic(g.game(), 37, PictureShow::WithNextText);
  const std::string line = LongLine();
  for (auto _ : state) ShowText2(g.game(), line);
}
BENCHMARK(BM_ShowText2_98CharactersFreshPage);

void BM_ShowChoice2_ThreeOptions(benchmark::State& state) {
  BenchGame g;
  ShowEventPic(g.game(), 37, PictureShow::WithNextText);
  ShowText2(g.game(), "どうする？");
  const Options options{"話しかける", "黙って見ている", "帰る", "", ""};
  for (auto _ : state) {
    g.game().state.LineNo = 1;
    ShowChoice2(g.game(), options);
  }
}
BENCHMARK(BM_ShowChoice2_ThreeOptions);

// The system menu over the picture: dimming, six centred rows and their
// composition, drawn from scratch every time.
void BM_DrawMenu_SystemMenu(benchmark::State& state) {
  BenchGame g;
  ShowEventPic(g.game(), 37, PictureShow::WithNextText);
  const MenuTexts items = {"セーブ", "ロード", "タイトルに戻る", "ゲーム終了", "解像度変更", "キャンセル"};
  for (auto _ : state) DrawMenu(g.game(), items, "メニュー");
}
BENCHMARK(BM_DrawMenu_SystemMenu);

// The decoding alone, as the library does it, to compare the rest against:
// pictures 37 and 38 in turn, as the step with a new picture shows them.
void BM_DecodePngOnly(benchmark::State& state) {
  const std::string folder = std::string(PELMOT_CONTENT_DIR) + "/PELMOTPIC";
  const std::string paths[2] = {PicturePath(folder, 37), PicturePath(folder, 38)};
  int next = 0;
  for (auto _ : state) {
    SDL_FreeSurface(IMG_Load(paths[next].c_str()));
    next = 1 - next;
  }
}
BENCHMARK(BM_DecodePngOnly)->Unit(benchmark::kMillisecond);

void BM_ShowEventPic_WithDecode(benchmark::State& state) {
  BenchGame g;
  int next = 37;
  for (auto _ : state) {
    next = next == 37 ? 38 : 37;
    ShowEventPic(g.game(), next, PictureShow::WithNextText);
  }
}
BENCHMARK(BM_ShowEventPic_WithDecode)->Unit(benchmark::kMillisecond);

void BM_ShowEventPic_AlreadyLoaded(benchmark::State& state) {
  BenchGame g;
  ShowEventPic(g.game(), 37, PictureShow::WithNextText);
  for (auto _ : state) ShowEventPic(g.game(), 37, PictureShow::WithNextText);
}
BENCHMARK(BM_ShowEventPic_AlreadyLoaded);

// One frame while a 98-character full-screen page is half drawn at a text
// speed: the client area composed and the characters still to come covered.
void BM_Frame_TextHalfDrawn(benchmark::State& state) {
  BenchGame g;
  Comforts comforts(g.game());
  comforts.State().settings.textSpeed = 60;
  AskForPagesUnderText(g.game(), comforts.State().settings);
  ShowEventPic(g.game(), 37, PictureShow::WithNextText);
  ShowText2(g.game(), LongLine());
  Typewriter& t = comforts.State().typewriter;
  t.shown = t.total / 2;
  std::vector<Colour> pixels(kScreenPixels);
  for (auto _ : state) {
    ComposeClientArea(g.game(), pixels);
    comforts.DrawOver(pixels);
  }
  if (!t.drawing) state.SkipWithError("the page is not being drawn");
}
BENCHMARK(BM_Frame_TextHalfDrawn)->Unit(benchmark::kMillisecond);

// One click of scene play: the step shows its (unchanged) picture and a
// 98-character line, and the window presents the result.
void BM_Step_TextOnly(benchmark::State& state) {
  BenchGame g;
  const std::string line = LongLine();
  g.SetStep([&](Game& game) {
    ShowEventPic(game, 37, PictureShow::WithNextText);
    ShowText2(game, line);
  });
  for (auto _ : state) g.Click();
}
BENCHMARK(BM_Step_TextOnly);

// The same with a new picture every click.
void BM_Step_NewPicture(benchmark::State& state) {
  BenchGame g;
  const std::string line = LongLine();
  int next = 37;
  g.SetStep([&](Game& game) {
    next = next == 37 ? 38 : 37;
    ShowEventPic(game, next, PictureShow::WithNextText);
    ShowText2(game, line);
  });
  for (auto _ : state) g.Click();
}
BENCHMARK(BM_Step_NewPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelmot

BENCHMARK_MAIN();
