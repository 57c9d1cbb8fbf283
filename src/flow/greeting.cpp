#include "flow/greeting.h"

#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "persist/data_files.h"
#include "persist/stamps.h"
#include "present/pictures.h"
#include "present/text_window.h"
#include "scenes/greeting_text.h"
#include "scenes/text_ids.h"

namespace pelmot {
namespace {

// The time-based rows, tested in order; all comparisons are strict.
int PictureForTime(int d, int h, int hour) {
  if (d > 30) return 121;
  if (14 < d && d < 30) return 115;
  if (6 < d && d < 15) return 117;
  if (3 < d && d < 7) return 116;
  if (1 < d && d < 4) return 119;
  const bool sameOrNextDayLater = h > 3 && d < 2;
  if (sameOrNextDayLater && 1 < hour && hour < 5) return 126;
  if (sameOrNextDayLater && 10 < hour && hour < 14) return 124;
  if (sameOrNextDayLater && 4 < hour && hour < 11) return 123;
  if ((sameOrNextDayLater && hour > 18) || hour < 2) return 122;
  if (sameOrNextDayLater && 13 < hour && hour < 19) return 120;
  if (h < 4) return 125;
  return 0;
}

}  // namespace

GreetingChoice ChooseGreeting(int endingNo, const std::optional<LocalDateTime>& lastQuit, bool stampEmpty,
                              const LocalDateTime& now) {
  if (endingNo == 10) return {false, 129};
  if (endingNo == 6) return {false, 128};
  if (endingNo == 1) return {false, 127};
  if (stampEmpty) return {false, 0};
  // A stamp that cannot be read counts as a quit just now.
  const LocalDateTime then = lastQuit.value_or(now);
  const int picture = PictureForTime(DaysBetween(then, now), HoursBetween(then, now), now.hour);
  if (picture == 0) return {true, 0};
  return {false, picture};
}

void Greeting(Game& game) {
  GameState& s = game.state;
  const std::string& stamp = s.SaveDate[10];
  const GreetingChoice choice =
      ChooseGreeting(s.EndingNo(), ParseStamp(stamp), stamp.empty(), game.services.clock.Now());
  if (choice.titleAtOnce) {
    s.StepNo[kModeTitle] = kTitleNewGame;
    RunFlow(game);
    return;
  }
  if (choice.picture != 0) {
    ShowEventPic(game, choice.picture, PictureShow::WithNextText);
    ShowText(game, GreetingLine(game, choice.picture), GreetingTextId(choice.picture));
  }
  if (s.EndingNo() != 0) {
    s.EndingNo() = 11;  // an ending's own greeting is shown once
    WriteCgSeen(game);
  }
}

}  // namespace pelmot
