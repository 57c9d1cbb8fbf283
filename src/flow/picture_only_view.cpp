#include "flow/picture_only_view.h"

#include "game/game.h"
#include "game/run_flow.h"

namespace pelmot {

bool InPictureOnlyView(const Game& game) { return game.state.FlowMode == kModeSystemMenu && game.state.ClickAdvances; }

void OpenPictureOnlyView(Game& game) {
  game.form.StopSkipping();
  game.form.ShowOnMainPic(game.form.MainWork);
  game.state.FlowMode = kModeSystemMenu;
}

void LeavePictureOnlyView(Game& game) {
  GameState& s = game.state;
  ResetStep(game);
  if (s.SaveRecord.ResumeMode == kModeScene || s.SaveRecord.ResumeMode == kModeChoice)
    s.FlowMode = s.SaveRecord.ResumeMode;
  game.form.ShowOnMainPic(game.form.Msg);
  s.ClickAdvances = true;
}

}  // namespace pelmot
