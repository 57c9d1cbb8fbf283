// The comforts' own record files (the lines read, the routes reached): read
// whole at start, decoded, and replaced whole behind the game. A damaged one
// is said once and left as it is, and nothing is written over it that run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "game/game.h"
#include "platform/ui_text.h"

namespace pelmot {

// Record::Decode(text) gives the record or nothing; `writable` says whether
// the file may be written this run.
template <class Record>
Record LoadRecordFile(Game& game, const std::string& path, std::size_t maxBytes, UiText damaged, bool& writable) {
  writable = true;
  Files& files = game.services.files;
  if (files.IsMissing(path)) return {};
  std::string error;
  const auto text = files.ReadWhole(path, maxBytes, error);
  std::optional<Record> record;
  if (text) record = Record::Decode(*text);
  if (record) return *record;
  writable = false;
  game.services.dialogs.ShowMessage(Ui(damaged) + "\n" + path + (error.empty() ? "" : "\n" + error));
  return {};
}

template <class Record>
void SaveRecordFileLater(Game& game, const std::string& path, const Record& record) {
  game.services.files.ReplaceWholeLater(path, [bytes = record.Encode()](Files&) { return bytes; });
}

}  // namespace pelmot
