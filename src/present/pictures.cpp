// ShowEventPic and ShowBackPic: the numbered pictures a scene shows, loaded
// into MainWork only when they differ from the one already there.
#include "present/pictures.h"

#include "game/game.h"
#include "persist/data_files.h"
#include "present/status_display.h"
#include "present/system_pictures.h"
#include "present/text_page.h"

namespace pelmot {
namespace {

// The seen flags cover pictures 0 ... 134.
constexpr int kSeenFlagCount = 135;
// Day backgrounds are pictures 114 + index.
constexpr int kBackgroundBase = 114;

void MarkSeen(Game& game, int number) {
  if (number < 0 || number >= kSeenFlagCount) return;
  std::uint8_t& seen = game.state.CgSeen[static_cast<std::size_t>(number)];
  if (seen != 0) return;
  seen = 1;
  WriteCgSeen(game);
}

}  // namespace

void LoadIntoMainWork(Game& game, int number) {
  game.state.ShownPic = static_cast<std::int16_t>(number);
  game.mainWorkPicture = number;
  game.mainWorkIsBackground = false;
  // A loader draws every pixel of its target (a smaller picture leaves the
  // rest black), so MainWork's pixels before it need not be kept here.
  KeepPictureForOwedPage(game);
  game.services.pictures.PicLoad(game.form.MainWork, number, game.PictureFolder());
}

void ShowEventPic(Game& game, int number, PictureShow show) {
  GameState& s = game.state;
  // The flag is recorded even when nothing else happens.
  MarkSeen(game, number);
  if (!s.PendingText.empty() || number == s.ShownPic) return;
  LoadIntoMainWork(game, number);
  if (show != PictureShow::Now) return;  // the next text shows it
  game.form.ShowOnMainPic(game.form.MainWork);
}

void ShowBackPic(Game& game, int index) {
  GameState& s = game.state;
  if (!s.PendingText.empty()) return;
  const int picture = BackgroundPicture(index, s.SaveRecord.Condition);
  // The display painted with the background stays until another one loads.
  if (picture == s.ShownPic) return;
  LoadBackgroundPicture(game, picture);
}

int BackgroundPicture(int index, int condition) { return kBackgroundBase + BackgroundIndex(index, condition); }

void LoadBackgroundPicture(Game& game, int number) {
  LoadIntoMainWork(game, number);
  game.mainWorkIsBackground = true;
  game.mainWorkStatus = game.state.SaveRecord;
  PaintStatusDisplay(game.form.MainWork, StatusSheet(game), game.state.SaveRecord);
}

bool IsScenePicture(int number) { return number >= 0 && number < kSeenFlagCount; }

}  // namespace pelmot
