// The data files: stamps, seen flags and the ten save slots.
#pragma once

namespace pelmot {

class Game;

// Reads SAVEDATE.DAT and SAVEDATA.DAT into SaveDate and CgSeen.
void ReadPersistentData(Game& game);
// Writes the whole CgSeen array to SAVEDATA.DAT.
bool WriteCgSeen(Game& game);
// Sets the last-play stamp to now and writes SAVEDATE.DAT.
void WriteLastPlayStamp(Game& game);

}  // namespace pelmot
