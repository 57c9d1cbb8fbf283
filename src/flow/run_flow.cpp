#include "flow/run_flow.h"

#include "flow/game.h"
#include "flow/title.h"
#include "gallery/gallery.h"
#include "persist/menus.h"
#include "scenes/scene_table.h"

namespace pelmot {

void RunFlow(Game& game) {
  GameState& s = game.state;
  s.ClickAdvances = true;  // a step that shows a menu or choice sets it back
  switch (s.FlowMode) {
    case kModeTitle:
      RunTitleStep(game);
      break;
    case kModeScene:
      s.SaveRecord.ResumeMode = kModeScene;
      RunScene(game, s.SceneNo);
      break;
    case kModeSystemMenu:
      SystemMenu(game);
      break;
    case kModeAlbum:
      AlbumView(game);
      break;
    case kModeSlideShow:
      SlideShow(game);
      break;
    case kModeChoice:
      s.SaveRecord.ResumeMode = kModeChoice;
      break;
    default:
      break;
  }
}

void ResetStep(Game& game) {
  GameState& s = game.state;
  s.SlideNo = 0;
  s.ShownPic = kNoPicture;
  game.form.SkipTimer.enabled = false;
  s.ClickAdvances = false;
  if (s.FlowMode >= 0 && s.FlowMode < static_cast<int>(s.StepNo.size())) s.StepNo[s.FlowMode] = 0;
}

void AddParam(Game& game, int index, std::int16_t amount) {
  SaveRecord& r = game.state.SaveRecord;
  int add = amount;
  if (add > 0) {
    if ((index == 0 && r.Condition == 4) || (index != 0 && r.Condition == 5)) add += 10;
    if (index == 3 && r.DayNo >= 1 && r.DayNo <= 15) add = DayTable[r.DayNo];
  }
  int value = r.Params[index] + add;
  if (value > 999) value = 999;
  else if (value < 0) value = 0;
  r.Params[index] = static_cast<std::int16_t>(value);
}

void Advance(Game& game) {
  GameState& s = game.state;
  if (s.PendingText.empty() && s.FlowMode >= 0 && s.FlowMode < static_cast<int>(s.StepNo.size()))
    s.StepNo[s.FlowMode] = Add16(s.StepNo[s.FlowMode], 1);
  RunFlow(game);
}

}  // namespace pelmot
