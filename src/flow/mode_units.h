// The flow's mode units, one per FlowMode, and the behaviour the centred
// menus share. StandardModes is their table, which every Game is built with.
#pragma once

#include "game/modes.h"

namespace pelmot {

struct GameState;

const Mode& TitleModeUnit();       // kModeTitle, flow/title_mode.cpp
const Mode& SceneModeUnit();       // kModeScene, flow/scene_mode.cpp
const Mode& SystemMenuModeUnit();  // kModeSystemMenu, flow/system_menu_mode.cpp
const Mode& AlbumModeUnit();       // kModeAlbum, flow/gallery_modes.cpp
const Mode& SlideShowModeUnit();   // kModeSlideShow, flow/gallery_modes.cpp
const Mode& ChoiceModeUnit();      // kModeChoice, flow/choice_mode.cpp

// The game's modes, one unit per FlowMode: what Game's constructor takes.
ModeTable StandardModes();

// The unit of the game's FlowMode. A value no mode has runs no step and
// otherwise answers as a centred menu, as such a value always did.
const Mode& CurrentMode(const Game& game);

// A mode whose picks are rows of a centred menu (DrawMenu): the title, the
// system menu, the slideshow. A left press on the window advances; a right
// press does nothing; there is no skip button.
class MenuMode : public Mode {
 public:
  void Pick(Game& game, int x, int y) const override;
  std::optional<Point> PickPoint(const Game& game, int row) const override;
  bool RowRefused(const Game& game, int row) const override;
  void Hover(Game& game, int x, int y) const override;
  void WindowPress(Game& game, PointerButton button) const override;
  void PictureRightPress(Game& game) const override;
  bool OffersSkipButton() const override { return false; }

 protected:
  // True when a press on row `row` must not count, though it is over text.
  virtual bool RefusesRow(const GameState& /*s*/, int /*row*/) const { return false; }
};

// The middle of left-aligned option `row` of a choice whose row 0 starts at
// `rowsTop`, or nothing when the option is empty.
std::optional<Point> OptionPickPoint(const Game& game, int row, int rowsTop);

// On a file list for loading, a never-saved slot cannot be picked (the
// cancel row can).
bool NeverSavedSlot(const GameState& s, int row);

}  // namespace pelmot
