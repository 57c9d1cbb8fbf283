#include "persist/data_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "game/game.h"
#include "persist/stamps.h"
#include "platform/ui_text.h"

namespace pelmot {
namespace {

void PutWord(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

std::uint16_t GetWord(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// The original program never truncated its files: bytes past a shorter new
// content stayed. We keep that, so our files are byte for byte theirs.
// A file that cannot be read (not a regular file, too large) has no tail to
// keep: it was refused with a message when the game started.
std::string KeepOldTail(Files& files, const std::string& path, std::string bytes) {
  std::string error;
  if (auto old = files.ReadWhole(path, kMaxDataFileBytes, error); old && old->size() > bytes.size())
    bytes += old->substr(bytes.size());
  return bytes;
}

bool Replace(Game& game, const std::string& path, const std::string& bytes) {
  std::string error;
  Files& files = game.services.files;
  if (files.ReplaceWhole(path, KeepOldTail(files, path, bytes), error)) return true;
  game.services.dialogs.ShowMessage(Ui(UiText::data_write_failed) + "\n" + path + "\n" + error);
  return false;
}

}  // namespace

std::optional<std::string> EncodeSaveDate(const Stamps& stamps, CodePage& codePage) {
  std::string out;
  for (const std::string& stamp : stamps) {
    auto bytes = codePage.FromUtf8(stamp);
    if (!bytes || bytes->size() > 0xFFFF) return std::nullopt;
    PutWord(out, static_cast<std::uint16_t>(bytes->size()));
    out += *bytes;
  }
  return out;
}

Stamps DecodeSaveDate(const std::string& bytes, CodePage& codePage) {
  Stamps stamps{};
  std::size_t at = 0;
  for (std::string& stamp : stamps) {
    if (at + 2 > bytes.size()) break;
    const std::size_t count = GetWord(bytes, at);
    at += 2;
    if (at + count > bytes.size()) break;
    stamp = codePage.ToUtf8(bytes.substr(at, count)).value_or("");
    at += count;
  }
  return stamps;
}

std::string EncodeCgSeen(const SeenFlags& flags) {
  return std::string(reinterpret_cast<const char*>(flags.data()), flags.size());
}

SeenFlags DecodeCgSeen(const std::string& bytes) {
  SeenFlags flags{};
  std::memcpy(flags.data(), bytes.data(), std::min(bytes.size(), flags.size()));
  return flags;
}

std::string EncodeSlot(const SaveRecord& r) {
  std::string out;
  for (std::int16_t word :
       {r.ResumeMode, r.SavedScene, r.SceneStep, r.SavedPic, r.Reserved4, r.Reserved5, r.LastChoice, r.Reserved7,
        r.Reserved8, r.DayNo, r.Params[0], r.Params[1], r.Params[2], r.Params[3], r.Condition})
    PutWord(out, static_cast<std::uint16_t>(word));
  return out;
}

std::optional<SaveRecord> DecodeSlot(const std::string& bytes) {
  if (bytes.size() < 30) return std::nullopt;
  std::int16_t w[15];
  for (int i = 0; i < 15; ++i) w[i] = static_cast<std::int16_t>(GetWord(bytes, 2 * i));
  SaveRecord r;
  r.ResumeMode = w[0];
  r.SavedScene = w[1];
  r.SceneStep = w[2];
  r.SavedPic = w[3];
  r.Reserved4 = w[4];
  r.Reserved5 = w[5];
  r.LastChoice = w[6];
  r.Reserved7 = w[7];
  r.Reserved8 = w[8];
  r.DayNo = w[9];
  r.Params = {w[10], w[11], w[12], w[13]};
  r.Condition = w[14];
  return r;
}

std::string SlotFileName(int index) {
  const int slot = index + 1;
  return "PELMOTDAT" + std::string(slot < 10 ? "0" : "") + std::to_string(slot) + ".DAT";
}

std::string DataFolderBelow(const std::string& dataRoot) { return dataRoot + "/TORMVEL/PELMOT"; }
std::string DataFilePath(const Game& game, const std::string& name) {
  return DataFolderBelow(game.state.WinDir) + "/" + name;
}

std::string SaveDatePath(const Game& game) { return DataFilePath(game, "SAVEDATE.DAT"); }
std::string CgSeenPath(const Game& game) { return DataFilePath(game, "SAVEDATA.DAT"); }
std::string SlotPath(const Game& game, int index) { return DataFilePath(game, SlotFileName(index)); }
std::string QuickSlotPath(const Game& game) { return DataFilePath(game, "PELMOTQUICK.DAT"); }

// The file's bytes; a file that is there but cannot be read (a pipe, a
// device, far too large) is told on standard error and in a message box,
// and the game goes on as with an empty file. Its next write replaces it.
std::string ReadDataFileAtStart(Game& game, const std::string& path) {
  std::string error;
  Files& files = game.services.files;
  if (auto bytes = files.ReadWhole(path, kMaxDataFileBytes, error)) return *bytes;
  if (files.IsMissing(path)) return {};
  std::fprintf(stderr, "pelmot: cannot read the data file %s\n", error.c_str());
  game.services.dialogs.ShowMessage(Ui(UiText::data_read_failed) + "\n" + error);
  return {};
}

void ReadPersistentData(Game& game) {
  Files& files = game.services.files;
  files.RemoveStaleTemporaries(DataFolderBelow(game.state.WinDir));
  for (const std::string& path : {SaveDatePath(game), CgSeenPath(game)}) files.EnsureExists(path);
  game.state.SaveDate = DecodeSaveDate(ReadDataFileAtStart(game, SaveDatePath(game)), game.services.codePage);
  game.state.CgSeen = DecodeCgSeen(ReadDataFileAtStart(game, CgSeenPath(game)));
}

bool WriteCgSeen(Game& game) {
  if (game.dataFilesHeld) return true;
  // Written with each newly seen picture: the write may finish after the
  // step that asked for it, and only the newest flags need to reach the disk.
  game.services.files.ReplaceWholeLater(
      CgSeenPath(game), [path = CgSeenPath(game), bytes = EncodeCgSeen(game.state.CgSeen)](Files& files) {
        return KeepOldTail(files, path, bytes);
      });
  return !ReportLateWriteFailure(game);
}

bool ReportLateWriteFailure(Game& game) {
  auto failure = game.services.files.TakeLaterWriteFailure();
  if (!failure) return false;
  // Seen flags are written often and on their own; say it once per run.
  if (!game.seenFlagsWarned)
    game.services.dialogs.ShowMessage(Ui(UiText::data_write_failed) + "\n" + failure->path + "\n" + failure->error);
  game.seenFlagsWarned = true;
  return true;
}

bool WriteSaveDate(Game& game) {
  auto bytes = EncodeSaveDate(game.state.SaveDate, game.services.codePage);
  if (!bytes) {
    game.services.dialogs.ShowMessage(Ui(UiText::save_date_write_failed) + "\n" + SaveDatePath(game));
    return false;
  }
  return Replace(game, SaveDatePath(game), *bytes);
}

void WriteLastPlayStamp(Game& game) {
  if (game.dataFilesHeld) return;
  game.state.SaveDate[10] = MakeStamp(game.services.clock.Now());
  WriteSaveDate(game);
}

bool WriteSlot(Game& game, int index) {
  return Replace(game, SlotPath(game, index), EncodeSlot(game.state.SaveRecord));
}

}  // namespace pelmot
