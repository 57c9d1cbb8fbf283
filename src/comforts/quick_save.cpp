#include "comforts/quick_save.h"

#include <ostream>

#include "comforts/corner_line.h"
#include "flow/picture_only_view.h"
#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "menus/system_menu.h"
#include "persist/data_files.h"
#include "platform/ui_text.h"

namespace pelmot {
namespace {

// Scene play with nothing to pick, or the picture-only view: where a right
// click leads to the system menu and its save.
bool SavingAllowed(const Game& game) {
  const GameState& s = game.state;
  return (s.FlowMode == kModeScene && s.ClickAdvances) || InPictureOnlyView(game);
}

// Where the system menu's load is, and the title picture and menu, from
// which the title's load list is reached.
bool LoadingAllowed(const Game& game) {
  const GameState& s = game.state;
  if (SavingAllowed(game)) return true;
  if (s.FlowMode != kModeTitle) return false;
  const int step = s.StepNo[kModeTitle];
  return (step == kTitleNewGame && s.ClickAdvances) ||
         (step == kTitleMenu && !s.ClickAdvances && game.form.MainPic.enabled);
}

void Trace(Game& game, const char* what) {
  if (game.trace) *game.trace << what << std::endl;
}

}  // namespace

bool QuickSave(Game& game, CornerLine& line) {
  if (!SavingAllowed(game)) {
    ShowCornerLine(game, line, Ui(UiText::quick_save_not_here));
    return false;
  }
  const std::string path = QuickSlotPath(game);
  std::string error;
  if (!game.services.files.ReplaceWhole(path, EncodeSlot(RecordToSave(game)), error)) {
    game.services.dialogs.ShowMessage(Ui(UiText::data_write_failed) + "\n" + path + "\n" + error);
    ShowCornerLine(game, line, Ui(UiText::quick_save_failed));
    return false;
  }
  ShowCornerLine(game, line, Ui(UiText::quick_save_done));
  return true;
}

bool QuickLoad(Game& game, CornerLine& line) {
  if (!LoadingAllowed(game)) {
    ShowCornerLine(game, line, Ui(UiText::quick_load_not_here));
    return false;
  }
  const std::string path = QuickSlotPath(game);
  if (game.services.files.IsMissing(path)) {
    ShowCornerLine(game, line, Ui(UiText::quick_load_none));
    return false;
  }
  // Loading from the title menu leaves it as an accepted pick does: its
  // picture takes no more picks. A damaged file is refused with the slots'
  // message, and the menu waits on as before.
  const bool menuWaited = game.form.MainPic.enabled;
  game.form.MainPic.enabled = false;
  if (!LoadSaveFile(game, path)) {
    game.form.MainPic.enabled = menuWaited;
    ShowCornerLine(game, line, Ui(UiText::quick_load_failed));
    return false;
  }
  ShowCornerLine(game, line, Ui(UiText::quick_load_done));
  return true;
}

bool QuickSaveTakesEvent(Game& game, CornerLine& line, const InputEvent& event) {
  if (event.kind != InputEvent::Kind::kKeyDown) return false;
  if (event.key == kVkF5) {
    Trace(game, QuickSave(game, line) ? "QuickSave done" : "QuickSave refused");
    return true;
  }
  if (event.key == kVkF9) {
    Trace(game, QuickLoad(game, line) ? "QuickLoad done" : "QuickLoad refused");
    return true;
  }
  return false;
}

}  // namespace pelmot
