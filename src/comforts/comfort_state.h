// What the player's comforts keep for one game; made on first use.
#pragma once

#include "comforts/auto_forward.h"
#include "comforts/backlog.h"
#include "comforts/read_record.h"
#include "comforts/settings.h"
#include "comforts/settings_screen.h"

namespace pelmot {

class Game;

struct ComfortState {
  Settings settings;
  ReadRecord read;
  bool readRecordWritable = true;
  // Lines were read since the record was last written: it is written once
  // skipping pauses, not at every line a skip runs through.
  bool readRecordDue = false;
  Backlog backlog;
  AutoForward autoForward;
  SettingsScreen settingsScreen;
  bool shiftHeld = false;
  bool ctrlHeld = false;
  // The toggle keys (A, F2) act on their first key-down only, not on the
  // repeats a held key sends.
  bool autoKeyHeld = false;
  bool settingsKeyHeld = false;
  // Skipping stopped at an unread line while a skip key was held: the held
  // key's repeats are ignored until it is released.
  bool heldSkipStopped = false;
};

// The game's comfort state, its files read the first time (once the data
// folder is known), and the text window's pages reported to it.
ComfortState& Comforts(Game& game);

}  // namespace pelmot
