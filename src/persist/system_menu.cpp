#include "persist/system_menu.h"

#include "flow/game.h"
#include "flow/run_flow.h"
#include "flow/title.h"
#include "persist/data_files.h"
#include "persist/stamps.h"
#include "present/pictures.h"
#include "present/text_window.h"
#include "shell/display_mode.h"

namespace pelmot {
namespace {

enum MenuKinds { kSave = 0, kLoad = 1, kToTitle = 2, kQuit = 3 };

const char* const kFullWidthDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

std::string FullWidthNumber(int n) {
  std::string out;
  for (char c : std::to_string(n)) out += kFullWidthDigits[c - '0'];
  return out;
}

void YesNo(Game& game, const std::string& question) { DrawMenu(game, {"はい", "いいえ"}, question); }

void Resume(Game& game) {
  ResetStep(game);
  CloseSystemMenu(game);
}

void MainMenuPick(Game& game) {
  GameState& s = game.state;
  switch (s.ChoiceNo) {
    case 0:
    case 1:
      DrawMenu(game, FileSelectItems(game), "ファイル選択");
      s.MenuKind = s.ChoiceNo == 0 ? kSave : kLoad;
      break;
    case 2:
    case 3:
      s.MenuKind = s.ChoiceNo == 2 ? kToTitle : kQuit;
      s.StepNo[2] = 2;
      RunFlow(game);
      break;
    case 4:
      ToggleResolution(game);
      Resume(game);
      break;
    default:
      Resume(game);
      break;
  }
}

void SecondScreen(Game& game) {
  GameState& s = game.state;
  if (s.MenuKind == kSave || s.MenuKind == kLoad) {
    if (s.ChoiceNo >= 0 && s.ChoiceNo <= 9) {
      s.MenuSlot = s.ChoiceNo;
      YesNo(game, SlotQuestion(game, s.MenuSlot, s.MenuKind == kSave));
    } else {
      Resume(game);
    }
  } else if (s.MenuKind == kToTitle) {
    YesNo(game, "ゲームを中断してタイトルに戻りますか？");
  } else if (s.MenuKind == kQuit) {
    YesNo(game, "ゲームを終了してWINDOWSに戻りますか？");
  }
}

void Confirmed(Game& game) {
  GameState& s = game.state;
  const bool yes = s.ChoiceNo == 0;
  if (yes && s.MenuKind == kSave) {
    SaveSlot(game, s.MenuSlot);
    Resume(game);
  } else if (yes && s.MenuKind == kLoad && !s.SaveDate[s.MenuSlot].empty()) {
    if (!LoadSlot(game, s.MenuSlot)) Resume(game);
  } else if (yes && s.MenuKind == kToTitle) {
    ReturnToTitle(game);
    RunFlow(game);
  } else if (yes && s.MenuKind == kQuit) {
    QuitSequence(game);
  } else {
    Resume(game);
  }
}

}  // namespace

MenuTexts FileSelectItems(const Game& game) {
  MenuTexts items;
  for (int k = 0; k < 10; ++k) {
    const std::string label = k < 9 ? "データ" + FullWidthNumber(k + 1) : "データ10";
    const std::string stamp = ShortStamp(game.state.SaveDate[k]);
    items[k] = stamp.empty() ? label : label + " " + stamp;
  }
  items[10] = "キャンセル";
  return items;
}

std::string SlotQuestion(const Game& game, int slot, bool save) {
  return "データ" + FullWidthNumber(slot + 1) + ShortStamp(game.state.SaveDate[slot]) +
         (save ? "にセーブしますか？" : "をロードしますか？");
}

bool SaveSlot(Game& game, int index) {
  GameState& s = game.state;
  const SaveRecord before = s.SaveRecord;
  const std::string stampBefore = s.SaveDate[index];
  s.SaveRecord.SceneStep = s.StepNo[1];
  s.SaveRecord.SavedScene = s.SceneNo;
  s.SaveRecord.SavedPic = s.ShownPic;
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

bool LoadSlot(Game& game, int index) {
  GameState& s = game.state;
  std::string problem;
  auto record = ReadSlot(game, index, problem);
  if (!record) {
    game.services.dialogs.ShowMessage("データを読み込めませんでした。\n" + problem);
    return false;
  }
  s.SaveRecord = *record;
  ResetStep(game);
  s.ShownPic = kNoPicture;
  s.PendingText.clear();  // a page of the game left behind must not continue here
  if (s.SaveRecord.ResumeMode == 1) {
    s.FlowMode = kModeScene;
    s.StepNo[1] = s.SaveRecord.SceneStep;
  } else {
    s.StepNo[5] = s.SaveRecord.SceneStep;
    s.FlowMode = kModeChoice;
  }
  s.SceneNo = s.SaveRecord.SavedScene;
  ShowEventPic(game, s.SaveRecord.SavedPic, 2);
  ShowText2(game, "");
  RunFlow(game);
  return true;
}

void SystemMenu(Game& game) {
  GameState& s = game.state;
  switch (s.StepNo[2]) {
    case 0:
      s.KeptLineNo = s.LineNo;
      DrawMenu(game, {"セーブ", "ロード", "タイトルに戻る", "ゲーム終了", "解像度変更", "キャンセル"},
               "メニュー");
      break;
    case 1:
      MainMenuPick(game);
      break;
    case 2:
      SecondScreen(game);
      break;
    case 3:
      Confirmed(game);
      break;
    default:
      break;
  }
}

void TitleLoad(Game& game) {
  GameState& s = game.state;
  const int step = s.StepNo[0];
  if (step == 4) {
    DrawMenu(game, FileSelectItems(game), "ファイル選択");
  } else if (step == 5 && s.ChoiceNo >= 0 && s.ChoiceNo <= 9) {
    s.MenuSlot = s.ChoiceNo;
    YesNo(game, SlotQuestion(game, s.MenuSlot, false));
  } else if (step == 6 && s.ChoiceNo == 0 && !s.SaveDate[s.MenuSlot].empty() && LoadSlot(game, s.MenuSlot)) {
    return;
  } else {
    ReturnToTitle(game);
    RunFlow(game);
  }
}

}  // namespace pelmot
