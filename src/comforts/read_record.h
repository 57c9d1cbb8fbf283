// The lines the player has read, by scene, lane and step, kept in a file of
// its own from the first line on, so skipping can stop at the first unread
// line whenever the player asks for it.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <tuple>

namespace pelmot {

class Game;

// Far above the story's steps, far below what would hurt.
inline constexpr std::size_t kMaxReadRecordBytes = 4 * 1024 * 1024;

struct LineKey {
  int scene = 0;
  int lane = 0;
  int step = 0;
  auto operator<=>(const LineKey&) const = default;
};

class ReadRecord {
 public:
  bool Has(const LineKey& key) const { return read_.count(key) != 0; }
  // True when the line was not read before.
  bool Add(const LineKey& key) { return read_.insert(key).second; }
  std::size_t Size() const { return read_.size(); }

  // A header line, then "scene lane step" a line.
  std::string Encode() const;
  // Nothing when the text is not such a record.
  static std::optional<ReadRecord> Decode(const std::string& text);

 private:
  std::set<LineKey> read_;
};

// The line of scene play on screen now: the scene, the lane serving its
// step, the step. Nothing outside scene play or where the story knows no lane.
std::optional<LineKey> CurrentLineKey(const Game& game);

std::string ReadRecordPath(const Game& game);
// The record in the file: empty when there is none. One that cannot be read
// or is damaged is said so once and left as it is: `writable` turns false,
// and this run keeps its record in memory only.
ReadRecord LoadReadRecord(Game& game, bool& writable);
// Written behind the game, replaced whole.
void SaveReadRecordLater(Game& game, const ReadRecord& record);

}  // namespace pelmot
