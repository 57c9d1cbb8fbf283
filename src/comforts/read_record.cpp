#include "comforts/read_record.h"

#include <sstream>

#include "comforts/record_file.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "persist/data_files.h"
#include "platform/ui_text.h"
#include "scenes/scene_model.h"
#include "scenes/scene_table.h"

namespace pelmot {
namespace {

constexpr const char* kHeader = "PELMOT read lines 1";
constexpr int kMaxNumber = 32767;  // scene numbers and steps are 16-bit on disk elsewhere

bool InRange(int v) { return v >= 0 && v <= kMaxNumber; }

}  // namespace

std::string ReadRecord::Encode() const {
  std::string out = std::string(kHeader) + "\n";
  for (const LineKey& k : read_)
    out += std::to_string(k.scene) + " " + std::to_string(k.lane) + " " + std::to_string(k.step) + "\n";
  return out;
}

std::optional<ReadRecord> ReadRecord::Decode(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  ReadRecord record;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::istringstream fields(line);
    LineKey key;
    std::string extra;
    if (!(fields >> key.scene >> key.lane >> key.step) || (fields >> extra)) return std::nullopt;
    if (!InRange(key.scene) || !InRange(key.lane) || !InRange(key.step)) return std::nullopt;
    record.Add(key);
  }
  return record;
}

std::optional<LineKey> CurrentLineKey(const Game& game) {
  const GameState& s = game.state;
  if (s.FlowMode != kModeScene) return std::nullopt;
  const Story* story = PlayedStory(game);
  const SceneScript* scene = story ? story->Find(s.SceneNo) : nullptr;
  if (!scene) return std::nullopt;
  const int step = s.StepNo[kModeScene];
  const Lane* lane = scene->ServingLane(step, s.SaveRecord.Condition, s.SaveRecord.LastChoice);
  if (!lane) return std::nullopt;
  return LineKey{s.SceneNo, static_cast<int>(lane - scene->lanes.data()), step};
}

std::string ReadRecordPath(const Game& game) { return DataFilePath(game, "READLINES.TXT"); }

ReadRecord LoadReadRecord(Game& game, bool& writable) {
  return LoadRecordFile<ReadRecord>(game, ReadRecordPath(game), kMaxReadRecordBytes, UiText::read_record_read_failed,
                                    writable);
}

void SaveReadRecordLater(Game& game, const ReadRecord& record) {
  SaveRecordFileLater(game, ReadRecordPath(game), record);
}

}  // namespace pelmot
