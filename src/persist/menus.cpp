#include "persist/menus.h"

#include "flow/game.h"
#include "flow/input.h"
#include "flow/run_flow.h"

namespace pelmot {
namespace {

constexpr Colour kFace = Rgb(240, 240, 240);
constexpr Colour kShadow = Rgb(80, 80, 80);

void DrawCentredRow(Game& game, const std::string& text, int row) {
  MainForm& f = game.form;
  TextEngine& t = game.services.text;
  const int w = t.Width(text, f.CMenu.fontPixels);
  const int x = FloorDiv(800 - w, 2), y = 32 * row + 20;
  t.Draw(f.MsgMk, x + 2, y + 2, text, kBlack, f.MsgMk.fontPixels);
  t.Draw(f.MsgMk, x, y, text, kBlack, f.MsgMk.fontPixels);
  t.Draw(f.MsgWk, x + 2, y + 2, text, kShadow, f.MsgWk.fontPixels);
  t.Draw(f.MsgWk, x, y, text, kFace, f.MsgWk.fontPixels);
}

void ComposeMenuPage(Game& game) {
  MainForm& f = game.form;
  f.CMenu.BitBlt(0, 0, 800, 600, f.MainWork, 0, 0, Rop::SrcCopy);
  f.CMenu.BitBlt(0, 0, 800, 600, game.state.SysPic[0], 0, 0, Rop::SrcAnd);
}

}  // namespace

void DrawMenu(Game& game, const MenuTexts& items, const std::string& title) {
  GameState& s = game.state;
  MainForm& f = game.form;
  f.SkipTimer.enabled = false;
  s.ClickAdvances = false;
  for (int i = 0; i < 11; ++i) s.MenuItems[i] = items[i];
  for (Surface* surface : {&f.CMenu, &f.MsgWk, &f.MsgMk}) {
    surface->SetPersistent(true);
    surface->Clear();
  }
  ComposeMenuPage(game);
  s.OptionCount = 0;
  for (int i = 1; i <= 10; ++i)
    if (!s.MenuItems[i].empty()) ++s.OptionCount;
  const int titleRow = FloorDiv(12 - s.OptionCount, 2) - 1;
  s.LineNo = static_cast<std::int16_t>(titleRow);
  DrawCentredRow(game, title, s.LineNo++);
  for (int i = 0; i <= s.OptionCount; ++i) DrawCentredRow(game, s.MenuItems[i], s.LineNo++);
  f.CMenu.BitBlt(0, 0, 800, 600, f.MsgMk, 0, 0, Rop::SrcAnd);
  f.CMenu.BitBlt(0, 0, 800, 600, f.MsgWk, 0, 0, Rop::SrcInvert);
  // Straight to the screen and into the kept image.
  f.MainPic.SetPersistent(false);
  f.MainPic.BitBlt(0, 0, 800, 600, f.CMenu, 0, 0, Rop::SrcCopy);
  f.MainPic.SetPersistent(true);
  f.MainPic.BitBlt(0, 0, 800, 600, f.CMenu, 0, 0, Rop::SrcCopy);
  f.MainPic.SetPersistent(false);
  for (Surface* surface : {&f.CMenu, &f.MsgWk, &f.MsgMk}) surface->SetPersistent(false);
  f.MainPic.enabled = true;
}

void ReturnToTitle(Game& game) {
  GameState& s = game.state;
  s.ShownPic = kNoPicture;
  ResetStep(game);
  s.FlowMode = kModeTitle;
  s.StepNo[1] = 0;
  s.StepNo[0] = 2;
  s.PendingText.clear();  // an unfinished page never leaks into the next game
  for (Surface* surface : {&game.form.MainPic, &game.form.MainWork}) {
    surface->SetPersistent(true);
    surface->Clear();
  }
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
