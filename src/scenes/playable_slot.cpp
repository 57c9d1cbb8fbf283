#include "scenes/playable_slot.h"

#include "game/game.h"
#include "game/run_flow.h"
#include "persist/data_files.h"
#include "platform/ui_text.h"
#include "present/choices.h"
#include "scenes/scene_model.h"
#include "scenes/scene_table.h"

namespace pelmot {
namespace {

// The saved step must be one its scene's lane holds for the saved Condition
// and pick: past the lane's end every click runs nothing until the 16-bit
// step counter wraps.
bool StepInItsLane(const Story* story, const SaveRecord& r) {
  if (!story) return true;  // scenes written in code say nothing of their steps
  const SceneScript* scene = story->Find(r.SavedScene);
  if (!scene) return false;
  const Lane* lane = scene->ServingLane(r.SceneStep, r.Condition, r.LastChoice);
  return lane && lane->Has(r.SceneStep);
}

}  // namespace

bool Resumable(const SaveRecord& r, const Story* story) {
  // Mode 5 would wait for a choice that loading never draws; the game only
  // saves in scene play (mode 1).
  const bool modeOk = r.ResumeMode == kModeScene;
  const bool sceneOk = SceneProcedure(r.SavedScene).has_value();
  const bool stepOk = r.SceneStep >= 0 && sceneOk && StepInItsLane(story, r);
  // A pick is an option's row: no choice offers more than its option rows.
  const bool pickOk = r.LastChoice >= 0 && r.LastChoice < static_cast<int>(std::tuple_size_v<Options>);
  bool valuesOk = pickOk && r.DayNo >= 1 && r.DayNo <= 15 && r.Condition >= 0 && r.Condition <= 7;
  for (std::int16_t p : r.Params) valuesOk = valuesOk && p >= 0 && p <= 999;
  return modeOk && sceneOk && stepOk && valuesOk;
}

std::optional<SaveRecord> ReadSlot(const Game& game, int index, std::string& problem) {
  return ReadSaveFile(game, SlotPath(game, index), problem);
}

std::optional<SaveRecord> ReadSaveFile(const Game& game, const std::string& path, std::string& problem) {
  std::string error;
  Files& files = game.services.files;
  auto bytes = files.ReadWhole(path, kMaxDataFileBytes, error);
  if (!bytes) {
    problem = files.IsMissing(path) ? UiFormat(UiText::slot_file_missing, {path})
                                    : UiFormat(UiText::slot_file_unreadable, {error});
    return std::nullopt;
  }
  auto record = DecodeSlot(*bytes);
  if (!record) {
    problem = UiFormat(UiText::slot_file_too_short, {std::to_string(bytes->size()), path});
    return std::nullopt;
  }
  if (!Resumable(*record, PlayedStory(game))) {
    problem =
        UiFormat(UiText::slot_cannot_resume, {std::to_string(record->ResumeMode), std::to_string(record->SavedScene),
                                              std::to_string(record->SceneStep), path});
    return std::nullopt;
  }
  return record;
}

}  // namespace pelmot
