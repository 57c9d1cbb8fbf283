#include "comforts/route_record.h"

#include <algorithm>
#include <limits>
#include <sstream>
#include <utility>

#include "comforts/record_file.h"
#include "game/game.h"
#include "persist/data_files.h"
#include "platform/ui_text.h"
#include "scenes/scene_model.h"

namespace pelmot {
namespace {

constexpr const char* kHeader = "PELMOT routes 1";
constexpr int kMaxPicks = 6;                // option rows 0 ... 5
constexpr std::size_t kMaxPagePoints = 64;  // far more lines than a page holds

void PutRecord(std::ostream& out, const SaveRecord& r) {
  for (std::int16_t w :
       {r.ResumeMode, r.SavedScene, r.SceneStep, r.SavedPic, r.Reserved4, r.Reserved5, r.LastChoice, r.Reserved7,
        r.Reserved8, r.DayNo, r.Params[0], r.Params[1], r.Params[2], r.Params[3], r.Condition})
    out << ' ' << w;
}

bool GetWord(std::istream& in, std::int16_t& word) {
  int value = 0;
  if (!(in >> value) || value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max())
    return false;
  word = static_cast<std::int16_t>(value);
  return true;
}

bool GetRecord(std::istream& in, SaveRecord& r) {
  for (std::int16_t* w :
       {&r.ResumeMode, &r.SavedScene, &r.SceneStep, &r.SavedPic, &r.Reserved4, &r.Reserved5, &r.LastChoice,
        &r.Reserved7, &r.Reserved8, &r.DayNo, &r.Params[0], &r.Params[1], &r.Params[2], &r.Params[3], &r.Condition})
    if (!GetWord(in, *w)) return false;
  return true;
}

std::string Hex(const std::string& bytes) {
  if (bytes.empty()) return "-";
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::optional<std::string> FromHex(const std::string& hex) {
  if (hex == "-") return std::string();
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    const int hi = digit(hex[i]), lo = digit(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

void PutPoint(std::ostream& out, const StoryPoint& p) {
  out << "point";
  PutRecord(out, p.record);
  out << ' ' << p.scene << ' ' << p.step << ' ' << p.picture << ' ' << p.shownPic << ' ' << (p.background ? 1 : 0)
      << ' ' << (p.picksEnabled ? 1 : 0) << ' ' << Hex(p.pendingText);
  PutRecord(out, p.status);
  out << '\n';
}

// Values play can hold: a point with others was not written by the game.
bool PlayableValues(const SaveRecord& r) {
  bool ok = r.DayNo >= 1 && r.DayNo <= 15 && r.Condition >= 0 && r.Condition <= 7;
  for (std::int16_t p : r.Params) ok = ok && p >= 0 && p <= 999;
  return ok;
}

bool GetFlag(std::istream& in, bool& flag) {
  int value = -1;
  if (!(in >> value) || (value != 0 && value != 1)) return false;
  flag = value == 1;
  return true;
}

std::optional<StoryPoint> GetPoint(std::istream& in) {
  StoryPoint p;
  std::string pending;
  if (!GetRecord(in, p.record) || !GetWord(in, p.scene) || !GetWord(in, p.step) || !(in >> p.picture) ||
      !GetWord(in, p.shownPic) || !GetFlag(in, p.background) || !GetFlag(in, p.picksEnabled) || !(in >> pending) ||
      !GetRecord(in, p.status))
    return std::nullopt;
  auto text = FromHex(pending);
  if (!text || p.scene < 0 || p.scene > kLastSceneNo || p.step < 0 || !PlayableValues(p.record) ||
      (p.background && !PlayableValues(p.status)))
    return std::nullopt;
  p.pendingText = std::move(*text);
  return p;
}

bool AtLineEnd(std::istream& in) {
  std::string extra;
  return !(in >> extra);
}

// One line of the file into `record`; false when it is not one the file can hold.
bool DecodeLine(const std::string& line, RouteRecord& record) {
  std::istringstream in(line);
  std::string kind;
  in >> kind;
  if (kind == "ending") {
    int n = 0;
    if (!(in >> n) || n < 1 || n > kEndingCount) return false;
    record.endings[static_cast<std::size_t>(n - 1)] = true;
  } else if (kind == "choice") {
    ReachedChoice c;
    if (!(in >> c.scene >> c.step >> c.picks) || c.scene < 0 || c.scene > kLastSceneNo || c.step < 0 ||
        c.picks >= (1u << kMaxPicks))
      return false;
    record.choices.push_back(std::move(c));
  } else if (kind == "point") {
    if (record.choices.empty() || record.choices.back().page.size() >= kMaxPagePoints) return false;
    auto point = GetPoint(in);
    if (!point) return false;
    record.choices.back().page.push_back(std::move(*point));
  } else {
    return false;
  }
  return AtLineEnd(in);
}

std::string RouteRecordPath(const Game& game) { return DataFilePath(game, "ROUTES.TXT"); }

}  // namespace

const ReachedChoice* RouteRecord::Find(int scene, int step) const {
  const auto it = std::find_if(choices.begin(), choices.end(),
                               [&](const ReachedChoice& c) { return c.scene == scene && c.step == step; });
  return it == choices.end() ? nullptr : &*it;
}

ReachedChoice* RouteRecord::Find(int scene, int step) {
  return const_cast<ReachedChoice*>(std::as_const(*this).Find(scene, step));
}

void RouteRecord::Reached(ReachedChoice choice) {
  if (ReachedChoice* known = Find(choice.scene, choice.step)) {
    choice.picks |= known->picks;
    *known = std::move(choice);
  } else {
    choices.push_back(std::move(choice));
  }
}

void RouteRecord::Picked(int scene, int step, int row) {
  if (row < 0 || row >= kMaxPicks) return;
  if (ReachedChoice* known = Find(scene, step)) known->picks |= 1u << row;
}

std::string RouteRecord::Encode() const {
  std::ostringstream out;
  out << kHeader << '\n';
  for (int i = 0; i < kEndingCount; ++i)
    if (endings[static_cast<std::size_t>(i)]) out << "ending " << i + 1 << '\n';
  for (const ReachedChoice& c : choices) {
    out << "choice " << c.scene << ' ' << c.step << ' ' << c.picks << '\n';
    for (const StoryPoint& p : c.page) PutPoint(out, p);
  }
  return out.str();
}

std::optional<RouteRecord> RouteRecord::Decode(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  RouteRecord record;
  while (std::getline(in, line)) {
    if (!line.empty() && !DecodeLine(line, record)) return std::nullopt;
  }
  for (const ReachedChoice& c : record.choices)
    if (c.page.empty()) return std::nullopt;
  return record;
}

RouteRecord LoadRouteRecord(Game& game, bool& writable) {
  return LoadRecordFile<RouteRecord>(game, RouteRecordPath(game), kMaxRouteRecordBytes,
                                     UiText::route_record_read_failed, writable);
}

void SaveRouteRecordLater(Game& game, const RouteRecord& record) {
  SaveRecordFileLater(game, RouteRecordPath(game), record);
}

}  // namespace pelmot
