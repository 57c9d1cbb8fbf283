#include "comforts/save_preview.h"

#include "comforts/comfort_canvas.h"
#include "comforts/day_name.h"
#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "menus/pointer_frame.h"
#include "menus/system_menu.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"
#include "present/pictures.h"
#include "present/status_display.h"
#include "present/system_pictures.h"
#include "scenes/op_walk.h"
#include "scenes/playable_slot.h"
#include "scenes/scene_table.h"

namespace pelmot {
namespace {

constexpr const char* kEllipsis = "…";

// The file list of a save or load, waiting for a pick: the system menu's
// or the title's, on a picture that covers the client area.
bool FileSelectWaits(const Game& game) {
  const GameState& s = game.state;
  const Surface& pic = game.form.MainPic;
  if (s.ClickAdvances || !pic.enabled || pic.left != 0 || pic.top != 0) return false;
  if (s.FlowMode == kModeSystemMenu)
    return s.StepNo[kModeSystemMenu] == kSystemMenuPicked && (s.MenuKind == kMenuSave || s.MenuKind == kMenuLoad);
  return s.FlowMode == kModeTitle && s.TitleChoice == kTitleLoad && s.StepNo[kModeTitle] == kTitleItemFirst;
}

// The first line the saved step shows, as the story's steps hold it.
struct FirstLine {
  int condition;
  int lastChoice;
  const std::string* text = nullptr;
  int Condition() const { return condition; }
  int LastChoice() const { return lastChoice; }
  void Line(const Op& op) {
    if (!text) text = &op.text;
  }
  void SetCondition(const Op& op) { condition = op.a; }
  void Picture(const Op&) {}
  void Background(const Op&) {}
  void StopSkip(const Op&) {}
  void AddParam(const Op&) {}
  void SetDay(const Op&) {}
};

std::string SavedLine(const Game& game, const SaveRecord& r) {
  const Story* story = PlayedStory(game);
  const SceneScript* scene = story ? story->Find(r.SavedScene) : nullptr;
  if (!scene) return "";
  const LaneStep at = StepToRun(*scene, r.SceneStep, r.Condition, r.LastChoice);
  if (!at.step) return "";
  FirstLine first{r.Condition, r.LastChoice};
  WalkOps(at.step->ops, r.SceneStep, first);
  return first.text ? *first.text : "";
}

// The line without its marks: a leading continue mark, row breaks.
std::u32string PlainText(const std::string& line) {
  std::u32string text = DecodeUtf8(line);
  if (!text.empty() && (text[0] == U'@' || text[0] == U'＠')) text.erase(0, 1);
  for (std::size_t at = text.find(U'@'); at != std::u32string::npos; at = text.find(U'@', at))
    if (at + 1 < text.size() && (text[at + 1] == U'r' || text[at + 1] == U'R'))
      text.erase(at, 2);
    else
      ++at;
  return text;
}

// The line's first words, no wider than the preview's row; cut short, they
// end in an ellipsis.
std::string FirstWords(Game& game, const std::string& line) {
  const auto width = [&](const std::string& text) { return game.services.text.Width(text, game.form.Msg.fontPixels); };
  const std::u32string text = PlainText(line);
  if (width(EncodeUtf8(text)) <= kSavePreviewLineWidth) return EncodeUtf8(text);
  std::string words;
  for (char32_t c : text) {
    std::string longer = words;
    AppendUtf8(longer, c);
    if (width(longer + kEllipsis) > kSavePreviewLineWidth) break;
    words = std::move(longer);
  }
  return words + kEllipsis;
}

// Reads slot `slot`, framed on list `list`: its picture (with the status
// display when it was a day background), day and line.
void ReadSlotPreview(Game& game, SavePreview& p, int slot, std::uint64_t list) {
  p.slot = slot;
  p.list = list;
  std::string problem;
  const auto record = game.state.SaveDate[slot].empty() ? std::nullopt : ReadSlot(game, slot, problem);
  p.playable = record.has_value();
  if (!record) return;
  p.day = record->DayNo;
  p.line = FirstWords(game, SavedLine(game, *record));
  const SlotPicture picture = PictureOfSlot(game, *record);
  p.picture = Surface();
  if (!IsScenePicture(picture.number)) return;  // black, as loading it shows
  game.services.pictures.PicLoad(p.picture, picture.number, game.PictureFolder());
  if (picture.background) PaintStatusDisplay(p.picture, StatusSheet(game), *record);
}

}  // namespace

void SavePreviewSeesEvent(const Game& game, SavePreview& p, const InputEvent& e) {
  if (e.kind != InputEvent::Kind::kMouseMove) return;
  p.pointer = Point{e.x, e.y};
  p.pointerList = game.form.CMenu.Revision();
}

std::optional<int> FramedSlot(const Game& game, const SavePreview& p, const KeyboardFocus& focus) {
  if (!FileSelectWaits(game)) return std::nullopt;
  const std::uint64_t list = game.form.CMenu.Revision();
  std::optional<int> row;
  // The keys frame the middle of a row, which the pointer's frame then follows.
  if (focus.shown && focus.flowMode == game.state.FlowMode && focus.list == list)
    row = focus.row;
  else if (p.pointer && p.pointerList == list)
    row = MenuRowFramedAt(game, p.pointer->x, p.pointer->y);
  if (!row || *row < 0 || *row >= kSlotCount) return std::nullopt;
  return row;
}

void DrawSavePreview(Game& game, SavePreview& p, const KeyboardFocus& focus, std::span<Colour> pixels) {
  const auto slot = FramedSlot(game, p, focus);
  const std::uint64_t list = game.form.CMenu.Revision();
  if (!slot && list != p.list) {
    // The list went: what was read for it goes too.
    p.slot = -1;
    p.picture = Surface(0, 0);
  }
  if (!slot) return;
  if (*slot != p.slot || list != p.list) ReadSlotPreview(game, p, *slot, list);
  if (!p.playable) return;
  ComfortCanvas canvas(game, pixels, kWholeScreen);
  canvas.DimmedPicture(p.picture);
  canvas.GameTextRows();
  canvas.MenuRowFrame(*slot);
  const std::string day = DayName(p.day);
  canvas.ShadowedText(CentredLeft(canvas.TextWidth(day)), SavePreviewTextTop(0), day);
  if (!p.line.empty()) canvas.ShadowedText(CentredLeft(canvas.TextWidth(p.line)), SavePreviewTextTop(1), p.line);
}

}  // namespace pelmot
