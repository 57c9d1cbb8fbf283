// Where the story stood as a scene step began: enough to run that step
// again and get what it showed then. Going back through the history and
// the route chart's jumps both stand on it.
#pragma once

#include <cstdint>
#include <string>

#include "game/game_state.h"

namespace pelmot {

class Game;

struct StoryPoint {
  SaveRecord record;  // the four values, Condition, day and the pick taken
  std::int16_t scene = 0;
  std::int16_t step = 0;
  std::string pendingText;  // the rest of a line a full page left waiting
  std::string language;     // the language pendingText is in
  // The picture in MainWork, and whether the step would load it again.
  int picture = kNoPicture;
  std::int16_t shownPic = kNoPicture;
  bool background = false;
  SaveRecord status;  // the values a background's status display shows
  bool picksEnabled = false;

  // The same place in the story with the same values: running either shows
  // the same.
  bool SameStory(const StoryPoint& other) const {
    return record == other.record && scene == other.scene && step == other.step && pendingText == other.pendingText;
  }
};

StoryPoint CaptureStoryPoint(const Game& game);

// Puts the point's picture back into MainWork (loading it only when
// another is there) and blanks the page as the point's scene shows it.
void RestoreScreen(Game& game, const StoryPoint& point);

// Sets the story where the point stood and runs its step.
void RunStepAt(Game& game, const StoryPoint& point);

}  // namespace pelmot
