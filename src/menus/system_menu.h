// The system menu's screens and the save and load they lead to.
#pragma once

#include <functional>
#include <string>

#include "game/game_state.h"
#include "present/menu_page.h"

namespace pelmot {

class Game;

// One step of the system menu (kModeSystemMenu).
void SystemMenu(Game& game);
// One step of the load flow started from the title.
void TitleLoad(Game& game);

// A yes / no question as a centred menu: yes (UiText::yes) is row kYesRow.
void AskYesNo(Game& game, const std::function<std::string()>& question);
// The question before the game ends, asked alike from the title and the
// system menu.
void AskToQuit(Game& game);

// The file-select screen's items: file_slot 1 ... 10, each with its
// stamp as " yy/mm/dd hh:nn", then cancel.
MenuTexts FileSelectItems(const Game& game);
// The picture a slot's record brings back (kNoPicture when nothing tells),
// and whether it is a day background, shown with the status display.
struct SlotPicture {
  int number = kNoPicture;
  bool background = false;
};
SlotPicture PictureOfSlot(const Game& game, const SaveRecord& record);
// The question before saving into or loading slot `slot` (ask_save_slot, ask_load_slot).
std::string SlotQuestion(const Game& game, int slot, bool save);

// Saves into slot `index`: the slot file first, its stamp only once the slot
// is on disk. On failure the files and the game are as they were.
bool SaveSlot(Game& game, int index);
// Loads slot `index` and continues the game there. A damaged or unplayable
// slot is refused with a message box and nothing changes; returns false.
bool LoadSlot(Game& game, int index);
// The same for a save file of the slots' layout at `path`.
bool LoadSaveFile(Game& game, const std::string& path);
// Continues the game where `record` (a playable one) stands, as a load does.
void ResumeRecord(Game& game, const SaveRecord& record);
// The save record of the game as it is now, as a save writes it.
SaveRecord RecordToSave(const Game& game);

}  // namespace pelmot
