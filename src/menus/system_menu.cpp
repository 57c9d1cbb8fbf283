#include "menus/system_menu.h"

#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "persist/data_files.h"
#include "persist/stamps.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"
#include "present/pictures.h"
#include "present/text_window.h"
#include "scenes/playable_slot.h"
#include "scenes/story_runner.h"
#include "shell/display_mode.h"
#include "shell/shutdown.h"

namespace pelmot {
namespace {

// The system menu's rows.
enum SystemMenuItem { kItemSave = 0, kItemLoad = 1, kItemToTitle = 2, kItemQuit = 3, kItemResolution = 4 };

// A slot's number in the table's digits (full-width ones).
std::string FullWidthNumber(int n) {
  const std::u32string digits = DecodeUtf8(Ui(UiText::slot_digits));
  std::string out;
  for (char c : std::to_string(n)) AppendUtf8(out, digits.at(static_cast<std::size_t>(c - '0')));
  return out;
}

void Resume(Game& game) {
  ResetStep(game);
  CloseSystemMenu(game);
}

// The scene a record resumes in, as data; nothing for scenes written in code.
const SceneScript* SavedSceneScript(const Game& game, const SaveRecord& record) {
  const Story* story = PlayedStory(game);
  return story ? story->Find(record.SavedScene) : nullptr;
}

// Puts back into MainWork what the screen showed at the save.
void RestoreSavedPicture(Game& game) {
  const SlotPicture picture = PictureOfSlot(game, game.state.SaveRecord);
  if (!IsScenePicture(picture.number)) {
    // Nothing tells the picture: a blank one, not the title's or the last game's.
    game.form.MainWork.Clear();
    game.mainWorkPicture = kNoPicture;
  } else if (picture.background) {
    LoadBackgroundPicture(game, picture.number);
  } else {
    ShowEventPic(game, picture.number, PictureShow::WithNextText);
  }
}

void MainMenuPick(Game& game) {
  GameState& s = game.state;
  switch (s.ChoiceNo) {
    case kItemSave:
    case kItemLoad:
      DrawMenu(game, [&game] { return MenuPage{FileSelectItems(game), Ui(UiText::file_select)}; });
      s.MenuKind = s.ChoiceNo == kItemSave ? kMenuSave : kMenuLoad;
      break;
    case kItemToTitle:
    case kItemQuit:
      s.MenuKind = s.ChoiceNo == kItemToTitle ? kMenuToTitle : kMenuQuit;
      s.StepNo[kModeSystemMenu] = kSystemMenuQuestion;
      RunFlow(game);
      break;
    case kItemResolution:
      ToggleResolution(game);
      Resume(game);
      break;
    default: Resume(game); break;
  }
}

void SecondScreen(Game& game) {
  GameState& s = game.state;
  if (s.MenuKind == kMenuSave || s.MenuKind == kMenuLoad) {
    if (s.ChoiceNo >= 0 && s.ChoiceNo < kSlotCount) {
      s.MenuSlot = s.ChoiceNo;
      AskYesNo(game, [&game] {
        const GameState& now = game.state;
        return SlotQuestion(game, now.MenuSlot, now.MenuKind == kMenuSave);
      });
    } else {
      Resume(game);
    }
  } else if (s.MenuKind == kMenuToTitle) {
    AskYesNo(game, [] { return Ui(UiText::ask_to_title); });
  } else if (s.MenuKind == kMenuQuit) {
    AskToQuit(game);
  }
}

void Confirmed(Game& game) {
  GameState& s = game.state;
  const bool yes = s.ChoiceNo == kYesRow;
  if (yes && s.MenuKind == kMenuSave) {
    SaveSlot(game, s.MenuSlot);
    Resume(game);
  } else if (yes && s.MenuKind == kMenuLoad && !s.SaveDate[s.MenuSlot].empty()) {
    if (!LoadSlot(game, s.MenuSlot)) Resume(game);
  } else if (yes && s.MenuKind == kMenuToTitle) {
    ReturnToTitle(game);
    RunFlow(game);
  } else if (yes && s.MenuKind == kMenuQuit) {
    QuitSequence(game);
  } else {
    Resume(game);
  }
}

}  // namespace

void AskYesNo(Game& game, const std::function<std::string()>& question) {
  DrawMenu(game, [&question] { return MenuPage{{Ui(UiText::yes), Ui(UiText::no)}, question()}; });
}

void AskToQuit(Game& game) {
  AskYesNo(game, [] { return Ui(UiText::ask_quit_to_windows); });
}

MenuTexts FileSelectItems(const Game& game) {
  MenuTexts items;
  for (int k = 0; k < kSlotCount; ++k) {
    const std::string label = UiFormat(UiText::file_slot, {k < 9 ? FullWidthNumber(k + 1) : "10"});
    const std::string stamp = ShortStamp(game.state.SaveDate[k]);
    items[k] = stamp.empty() ? label : label + " " + stamp;
  }
  items[kFileListCancelRow] = Ui(UiText::cancel);
  return items;
}

// The saved picture, with the status display when the scene last painted it
// as a day background. A slot the original program saved after a menu had
// closed holds kNoPicture instead; the scene's own steps then say which
// picture it was.
SlotPicture PictureOfSlot(const Game& game, const SaveRecord& r) {
  const SceneScript* scene = SavedSceneScript(game, r);
  std::optional<Op> op;
  if (scene) op = LastPictureOp(*scene, r.SceneStep, r.Condition, r.LastChoice);
  const bool background = op && op->kind == OpKind::Background;
  const int fromSteps = !op ? kNoPicture : background ? BackgroundPicture(op->a, r.Condition) : op->a;
  const int number = IsScenePicture(r.SavedPic) ? r.SavedPic : fromSteps;
  return {number, IsScenePicture(number) && background && number == fromSteps};
}

std::string SlotQuestion(const Game& game, int slot, bool save) {
  return UiFormat(save ? UiText::ask_save_slot : UiText::ask_load_slot,
                  {FullWidthNumber(slot + 1), ShortStamp(game.state.SaveDate[slot])});
}

SaveRecord RecordToSave(const Game& game) {
  const GameState& s = game.state;
  SaveRecord record = s.SaveRecord;
  record.SceneStep = s.StepNo[kModeScene];
  record.SavedScene = s.SceneNo;
  // The picture on screen, also when a closed menu has made ShownPic forget
  // it: the original program reads the slot the same way.
  record.SavedPic = static_cast<std::int16_t>(game.mainWorkPicture);
  return record;
}

bool SaveSlot(Game& game, int index) {
  GameState& s = game.state;
  const SaveRecord before = s.SaveRecord;
  const std::string stampBefore = s.SaveDate[index];
  s.SaveRecord = RecordToSave(game);
  // The slot goes to disk before its stamp, so a stamp never announces a
  // save that is not there.
  if (!WriteSlot(game, index)) {
    s.SaveRecord = before;
    return false;
  }
  s.SaveDate[index] = MakeStamp(game.services.clock.Now());
  if (!WriteSaveDate(game)) {
    s.SaveRecord = before;
    s.SaveDate[index] = stampBefore;
    return false;
  }
  return true;
}

bool LoadSlot(Game& game, int index) { return LoadSaveFile(game, SlotPath(game, index)); }

bool LoadSaveFile(Game& game, const std::string& path) {
  std::string problem;
  auto record = ReadSaveFile(game, path, problem);
  if (!record) {
    game.services.dialogs.ShowMessage(Ui(UiText::data_read_failed) + "\n" + problem);
    return false;
  }
  ResumeRecord(game, *record);
  return true;
}

void ResumeRecord(Game& game, const SaveRecord& record) {
  GameState& s = game.state;
  s.SaveRecord = record;
  ResetStep(game);
  s.ShownPic = kNoPicture;
  s.PendingText.clear();  // a page of the game left behind must not continue here
  ++game.playsBegun;
  // ReadSlot lets only scene play (ResumeMode kModeScene) through.
  s.FlowMode = kModeScene;
  s.StepNo[kModeScene] = s.SaveRecord.SceneStep;
  s.SceneNo = s.SaveRecord.SavedScene;
  RestoreSavedPicture(game);
  ShowEmptyPageOf(game, s.SceneNo);  // a day scene dims only its window
  RunFlow(game);
}

void SystemMenu(Game& game) {
  GameState& s = game.state;
  switch (s.StepNo[kModeSystemMenu]) {
    case kSystemMenuShow:
      s.KeptLineNo = s.LineNo;
      DrawMenu(game, [] {
        return MenuPage{{Ui(UiText::menu_save), Ui(UiText::menu_load), Ui(UiText::menu_to_title), Ui(UiText::menu_quit),
                         Ui(UiText::menu_resolution), Ui(UiText::cancel)},
                        Ui(UiText::menu_title)};
      });
      break;
    case kSystemMenuPicked: MainMenuPick(game); break;
    case kSystemMenuQuestion: SecondScreen(game); break;
    case kSystemMenuAnswered: Confirmed(game); break;
    default: break;
  }
}

void TitleLoad(Game& game) {
  GameState& s = game.state;
  const int step = s.StepNo[kModeTitle];
  if (step == kTitleItemFirst) {
    DrawMenu(game, [&game] { return MenuPage{FileSelectItems(game), Ui(UiText::file_select)}; });
  } else if (step == kTitleItemSecond && s.ChoiceNo >= 0 && s.ChoiceNo < kSlotCount) {
    s.MenuSlot = s.ChoiceNo;
    AskYesNo(game, [&game] { return SlotQuestion(game, game.state.MenuSlot, false); });
  } else if (step == kTitleItemThird && s.ChoiceNo == kYesRow && !s.SaveDate[s.MenuSlot].empty() &&
             LoadSlot(game, s.MenuSlot)) {
    return;
  } else {
    ReturnToTitle(game);
    RunFlow(game);
  }
}

}  // namespace pelmot
