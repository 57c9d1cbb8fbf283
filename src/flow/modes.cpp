#include "game/modes.h"

#include "flow/title.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "gallery/gallery.h"
#include "menus/system_menu.h"
#include "scenes/scene_table.h"

namespace pelmot {
namespace {

class TitleMode : public Mode {
 public:
  void Step(Game& game) const override { RunTitleStep(game); }
};

class SceneMode : public Mode {
 public:
  void Step(Game& game) const override {
    game.state.SaveRecord.ResumeMode = kModeScene;
    RunScene(game, game.state.SceneNo);
  }
};

// The picture-only view and the system menu's screens.
class SystemMenuMode : public Mode {
 public:
  void Step(Game& game) const override { SystemMenu(game); }
};

class AlbumMode : public Mode {
 public:
  void Step(Game& game) const override { AlbumView(game); }
};

class SlideShowMode : public Mode {
 public:
  void Step(Game& game) const override { SlideShow(game); }
};

// A scene choice in the message window: the pick itself moves on.
class ChoiceMode : public Mode {
 public:
  void Step(Game& game) const override { game.state.SaveRecord.ResumeMode = kModeChoice; }
};

}  // namespace

const Mode* ModeFor(int flowMode) {
  static const TitleMode title;
  static const SceneMode scene;
  static const SystemMenuMode systemMenu;
  static const AlbumMode album;
  static const SlideShowMode slideShow;
  static const ChoiceMode choice;
  static const Mode* const modes[] = {&title, &scene, &systemMenu, &album, &slideShow, &choice};
  if (flowMode < 0 || flowMode >= static_cast<int>(std::size(modes))) return nullptr;
  return modes[flowMode];
}

}  // namespace pelmot
