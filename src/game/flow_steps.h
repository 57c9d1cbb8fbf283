// Names for the numbers the flow keeps in GameState: the steps of the
// title and the system menu, and what TitleChoice and MenuKind hold. The
// values are the game's own and never change.
#pragma once

#include <cstdint>

namespace pelmot {

// StepNo[kModeTitle].
enum TitleStep : std::int16_t {
  kTitleGreeting = 1,    // the logo movie closes, the greeting shows
  kTitleNewGame = 2,     // a fresh game, the title picture
  kTitleMenu = 3,        // the title menu waits for a pick
  kTitleItemFirst = 4,   // the picked item's first screen (TitleChoice is set here)
  kTitleItemSecond = 5,  // its second screen
  kTitleItemThird = 6,   // its third screen
};

// TitleChoice: the title menu's items in their order on screen.
enum TitleChoiceItem : std::int16_t {
  kTitleStart = 0,
  kTitleLoad = 1,
  kTitleCgMode = 2,
  kTitleQuit = 3,
};

// StepNo[kModeSystemMenu].
enum SystemMenuStep : std::int16_t {
  kSystemMenuShow = 0,      // the menu is drawn
  kSystemMenuPicked = 1,    // its pick acts; the file list of a save or load waits here
  kSystemMenuQuestion = 2,  // the yes / no question of the pick
  kSystemMenuAnswered = 3,  // the answer acts
};

// MenuKind: what the system menu's second screen is about.
enum MenuKindValue : std::int16_t {
  kMenuSave = 0,
  kMenuLoad = 1,
  kMenuToTitle = 2,
  kMenuQuit = 3,
};

// Rows of the file list: ten slots, then the cancel row.
inline constexpr int kSlotCount = 10;
inline constexpr int kFileListCancelRow = 10;
// The row of yes (UiText::yes) in a yes / no question.
inline constexpr int kYesRow = 0;

}  // namespace pelmot
