// ShowChoice, ShowChoice2 and StopSkip: the options written as rows under
// the question already on the page, then a wait for the pick.
#include "present/choices.h"

#include "game/game.h"
#include "game/run_flow.h"
#include "present/shown_language.h"
#include "present/text_layout.h"
#include "present/text_page.h"

namespace pelmot {
namespace {

// Options start at kOptionLeft in both layouts and are never wrapped.
void ShowOptions(Game& game, const Options& options, const OptionIds& ids, int firstRowY) {
  GameState& s = game.state;
  MainForm& f = game.form;
  s.ClickAdvances = false;
  for (std::size_t i = 0; i < options.size(); ++i) s.MenuItems[i] = options[i];
  s.MenuItems[5].clear();
  SetMessageSurfacesPersistent(game, true);
  ClearTextLayers(game);
  // Counts the non-empty entries 1 ... 5, and draws entries 0 up to that
  // count: an empty option in the middle leaves a later one out.
  s.OptionCount = 0;
  for (int i = 1; i <= 5; ++i)
    if (!s.MenuItems[i].empty()) ++s.OptionCount;
  RowBand inked;
  ShownRows& onScreen = RowsOnScreen(game);
  onScreen.menuOnTop = false;
  onScreen.optionIds = ids;
  for (int i = 0; i <= s.OptionCount; ++i) {
    // Options past the five have no ID.
    const std::string shown = ShownWords(game, i < static_cast<int>(ids.size()) ? ids[i] : "", s.MenuItems[i]);
    DrawShadowedRow(game, kOptionLeft, firstRowY + kRowPitch * s.LineNo, shown, kOptionShadow, inked);
    onScreen.SetPageRow(s.LineNo, shown);
    s.LineNo = Add16(s.LineNo, 1);
  }
  ComposeAndPresent(game, inked);
  SetMessageSurfacesPersistent(game, false);
  f.MainPic.enabled = true;
}

}  // namespace

void ShowChoice(Game& game, const Options& options, const OptionIds& ids) {
  StopSkip(game);
  game.state.FlowMode = kModeChoice;
  ShowOptions(game, options, ids, kWindowLayout.textY);
}

void ShowChoice2(Game& game, const Options& options, const OptionIds& ids) {
  StopSkip(game);
  ShowOptions(game, options, ids, kFullScreenLayout.textY);
}

void StopSkip(Game& game) { game.form.StopSkipping(); }

}  // namespace pelmot
