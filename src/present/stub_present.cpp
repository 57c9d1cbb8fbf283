// Placeholder presentation: the state changes of pictures, text and choices
// without drawing. Replaced by the text window and picture modules.
#include "flow/game.h"
#include "flow/run_flow.h"
#include "present/choices.h"
#include "present/pictures.h"
#include "present/text_window.h"

namespace pelmot {

void ShowEventPic(Game& game, int number, int mode) {
  GameState& s = game.state;
  if (number >= 0 && number < 135 && s.CgSeen[number] == 0) s.CgSeen[number] = 1;
  if (!s.PendingText.empty() || number == s.ShownPic) return;
  s.ShownPic = static_cast<std::int16_t>(number);
  game.services.pictures.PicLoad(game.form.MainWork, number, game.PictureFolder());
  if (mode == 1) {
    game.form.MainPic.SetPersistent(true);
    game.form.MainPic.BitBlt(0, 0, 800, 600, game.form.MainWork, 0, 0, Rop::SrcCopy);
    game.form.MainPic.Refresh();
  }
}

void ShowBackPic(Game& game, int index) {
  if (!game.state.PendingText.empty()) return;
  game.state.ShownPic = static_cast<std::int16_t>(114 + index);
}

void ShowText(Game& game, const std::string&) { game.state.LineNo = 1; }
void ShowText2(Game& game, const std::string&) { game.state.LineNo = 1; }

static void ShowOptions(Game& game, const Options& options) {
  GameState& s = game.state;
  game.form.SkipTimer.enabled = false;
  s.ClickAdvances = false;
  for (int i = 0; i < 5; ++i) s.MenuItems[i] = options[i];
  s.MenuItems[5].clear();
  s.OptionCount = 0;
  for (int i = 1; i <= 5; ++i)
    if (!s.MenuItems[i].empty()) ++s.OptionCount;
  s.LineNo = static_cast<std::int16_t>(s.LineNo + s.OptionCount + 1);
  game.form.MainPic.enabled = true;
}

void ShowChoice(Game& game, const Options& options) {
  game.form.SkipTimer.enabled = false;
  game.state.FlowMode = kModeChoice;
  ShowOptions(game, options);
}

void ShowChoice2(Game& game, const Options& options) { ShowOptions(game, options); }

void StopSkip(Game& game) { game.form.SkipTimer.enabled = false; }

}  // namespace pelmot
