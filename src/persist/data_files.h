// The data files below the data root, in the original program's exact byte
// layouts: SAVEDATE.DAT (eleven stamps), SAVEDATA.DAT (seen flags and the
// last ending) and PELMOTDAT01.DAT ... PELMOTDAT10.DAT (one save record each);
// beside them PELMOTQUICK.DAT, the quick save, laid out as a slot.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "game/game_state.h"

namespace pelmot {

class CodePage;
class Game;

// --- byte layouts ---------------------------------------------------------
using Stamps = std::array<std::string, 11>;
using SeenFlags = std::array<std::uint8_t, kCgSeenSize>;

// Each stamp as a 16-bit little-endian byte count and its code page 932
// bytes. Nothing when a stamp holds a character the code page lacks.
std::optional<std::string> EncodeSaveDate(const Stamps& stamps, CodePage& codePage);
// Reads eleven entries; when the bytes end first, the rest read as empty.
Stamps DecodeSaveDate(const std::string& bytes, CodePage& codePage);
std::string EncodeCgSeen(const SeenFlags& flags);
// Up to 136 bytes; missing ones read as 0.
SeenFlags DecodeCgSeen(const std::string& bytes);
// Fifteen signed 16-bit little-endian words.
std::string EncodeSlot(const SaveRecord& record);
// Nothing for fewer than 30 bytes.
std::optional<SaveRecord> DecodeSlot(const std::string& bytes);
// "PELMOTDAT01.DAT" for index 0 ... "PELMOTDAT10.DAT" for index 9.
std::string SlotFileName(int index);

// --- the files of a game --------------------------------------------------
// The game's data folder below a data root, and a file of it by name.
std::string DataFolderBelow(const std::string& dataRoot);
std::string DataFilePath(const Game& game, const std::string& name);
std::string SaveDatePath(const Game& game);
std::string CgSeenPath(const Game& game);
std::string SlotPath(const Game& game, int index);
// The quick save (F5 / F9): a slot of its own, in the slots' layout.
std::string QuickSlotPath(const Game& game);

// Reads SAVEDATE.DAT and SAVEDATA.DAT into SaveDate and CgSeen; a missing
// file is created empty and reads as empty.
void ReadPersistentData(Game& game);
// Writes the whole CgSeen array, possibly after this returns (see
// Files::ReplaceWholeLater); false when a write of it is known to have
// failed. A failure is reported once per run.
bool WriteCgSeen(Game& game);
// Tells the player, once per run, of a seen-flag write that failed after
// WriteCgSeen returned; true when there was one. Called after each event
// and frame, and when the game ends.
bool ReportLateWriteFailure(Game& game);
// Writes the whole SaveDate array; a failure shows a message box.
bool WriteSaveDate(Game& game);
// Sets the last-play stamp to now and writes SAVEDATE.DAT.
void WriteLastPlayStamp(Game& game);
// Writes SaveRecord into slot `index`; a failure shows a message box.
bool WriteSlot(Game& game, int index);

}  // namespace pelmot
