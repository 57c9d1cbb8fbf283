#include "present/menu_page.h"

#include "game/game.h"
#include "game/run_flow.h"
#include "game/screen_geometry.h"
#include "platform/ui_text.h"
#include "present/shown_language.h"
#include "present/text_page.h"

namespace pelmot {
namespace {

// A centred row: the text's left edge is Int((800 - w) / 2), its top one
// row pitch per row below kMenuTextTop.
void DrawCentredRow(Game& game, const std::string& text, int row, RowBand& inked) {
  const int w = game.services.text.Width(text, game.form.CMenu.fontPixels);
  DrawShadowedRow(game, CentredLeft(w), kRowPitch * row + kMenuTextTop, text, kOptionShadow, inked);
}

}  // namespace

int RowTextWidth(const Game& game, const std::string& text) {
  return game.services.text.Width(text, game.form.Msg.fontPixels);
}

const std::string& MenuItem(const Game& game, int index) {
  static const std::string kNone;
  if (index < 0 || index >= static_cast<int>(game.state.MenuItems.size())) return kNone;
  return game.state.MenuItems[index];
}

int FirstItemRow(const GameState& s) { return s.LineNo - 1 - s.OptionCount; }

const std::string& ShownItem(const Game& game, int index) {
  const ShownRows* shown = game.parts.Find<ShownRows>();
  const std::string& original = MenuItem(game, index);
  if (LanguageCode(game) == kOriginalLanguage || !shown || original.empty()) return original;
  const std::vector<std::string>& rows = shown->menuOnTop ? shown->menu : shown->page;
  const int row = shown->menuOnTop ? index + 1 : FirstItemRow(game.state) + index;
  return row >= 0 && row < static_cast<int>(rows.size()) ? rows[row] : original;
}

bool OverLeftAlignedItem(const Game& game, int index, int x) {
  const std::string& text = ShownItem(game, index);
  return !text.empty() && OverOptionText(RowTextWidth(game, text), x);
}

bool OverCentredItem(const Game& game, int index, int x) {
  const std::string& text = ShownItem(game, index);
  if (text.empty()) return false;
  const int left = CentredLeft(RowTextWidth(game, text));
  return x > left && x < kScreenWidth - left;
}

void DrawMenu(Game& game, const MenuBuilder& build) {
  GameState& s = game.state;
  MainForm& f = game.form;
  f.StopSkipping();
  s.ClickAdvances = false;
  {
    const UiOriginalScope inTheOriginal;
    const MenuTexts original = build().items;
    for (int i = 0; i < 11; ++i) s.MenuItems[i] = original[i];
  }
  const MenuPage shown = build();
  ShownRows& onScreen = RowsOnScreen(game);
  onScreen.menu.assign(1, shown.title);
  onScreen.menuOnTop = true;
  onScreen.lastMenu = build;
  // The picture is copied over the whole of CMenu, so it needs no clearing.
  f.CMenu.SetPersistent(true);
  SetMessageSurfacesPersistent(game, true);
  ClearTextLayers(game);
  f.CMenu.BitBlt(0, 0, kScreenWidth, kScreenHeight, f.MainWork, 0, 0, Rop::SrcCopy);
  f.CMenu.BitBlt(0, 0, kScreenWidth, kScreenHeight, s.SysPic[kDimmingMask], 0, 0, Rop::SrcAnd);
  s.OptionCount = 0;
  for (int i = 1; i <= 10; ++i)
    if (!s.MenuItems[i].empty()) ++s.OptionCount;
  const int titleRow = FloorDiv(12 - s.OptionCount, 2) - 1;
  s.LineNo = static_cast<std::int16_t>(titleRow);
  RowBand inked;
  DrawCentredRow(game, shown.title, s.LineNo++, inked);
  for (int i = 0; i <= s.OptionCount; ++i) {
    DrawCentredRow(game, shown.items[i], s.LineNo++, inked);
    onScreen.menu.push_back(shown.items[i]);
  }
  // The layers are blank outside the rows drawn.
  ComposeText(f.CMenu, f.MsgInk, inked);
  f.ShowOnMainPic(f.CMenu);
  f.CMenu.SetPersistent(false);
  SetMessageSurfacesPersistent(game, false);
  f.MainPic.enabled = true;
}

void DrawMenu(Game& game, const MenuTexts& items, const std::string& title) {
  DrawMenu(game, [&] { return MenuPage{items, title}; });
}

}  // namespace pelmot
