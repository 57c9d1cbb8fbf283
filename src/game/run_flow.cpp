#include "game/run_flow.h"

#include "game/flow_steps.h"
#include "game/game.h"
#include "game/modes.h"

namespace pelmot {

void RunFlow(Game& game) {
  GameState& s = game.state;
  s.ClickAdvances = true;  // a step that shows a menu or choice sets it back
  if (const Mode* mode = game.modes.For(s.FlowMode)) mode->Step(game);
  // In play, the last menu's page is not read: the next menu draws its page
  // whole, so the memory goes meanwhile.
  if (s.FlowMode == kModeScene || s.FlowMode == kModeChoice) game.form.CMenu.ForgetPixels();
}

void ResetStep(Game& game) {
  GameState& s = game.state;
  s.SlideNo = 0;
  s.ShownPic = kNoPicture;
  game.form.StopSkipping();
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
  if (value > 999)
    value = 999;
  else if (value < 0)
    value = 0;
  r.Params[index] = static_cast<std::int16_t>(value);
}

void Advance(Game& game) {
  GameState& s = game.state;
  if (s.PendingText.empty() && s.FlowMode >= 0 && s.FlowMode < static_cast<int>(s.StepNo.size()))
    s.StepNo[s.FlowMode] = Add16(s.StepNo[s.FlowMode], 1);
  RunFlow(game);
}

void ReturnToTitle(Game& game) {
  GameState& s = game.state;
  s.ShownPic = kNoPicture;
  ResetStep(game);
  s.FlowMode = kModeTitle;
  s.StepNo[kModeScene] = 0;
  s.StepNo[kModeTitle] = kTitleNewGame;
  s.PendingText.clear();  // an unfinished page never leaks into the next game
  for (Surface* surface : {&game.form.MainPic, &game.form.MainWork}) {
    surface->SetPersistent(true);
    surface->Clear();
  }
  game.mainWorkPicture = kNoPicture;
}

void CloseSystemMenu(Game& game) {
  GameState& s = game.state;
  MainForm& f = game.form;
  s.LineNo = s.KeptLineNo;
  if (s.SaveRecord.ResumeMode == kModeScene) {
    s.FlowMode = kModeScene;
    f.ShowOnMainPic(f.Msg);
    s.ClickAdvances = true;
  } else if (s.SaveRecord.ResumeMode == kModeChoice) {
    ResetStep(game);
    s.FlowMode = kModeChoice;
    f.ShowOnMainPic(f.MainWork);
    s.ClickAdvances = true;
    RunFlow(game);
  }
}

}  // namespace pelmot
