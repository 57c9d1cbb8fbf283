// Numbered pictures: event pictures (marked as seen) and day backgrounds
// with the status display.
#pragma once

#include <cstdint>

namespace pelmot {

class Game;

// The title picture.
inline constexpr int kTitlePicture = 0;

// When ShowEventPic puts its picture on the screen.
enum class PictureShow { Now, WithNextText };

// Marks picture `number` seen and loads it into MainWork; PictureShow::Now
// also puts it on the screen at once, WithNextText leaves it for the next
// text.
void ShowEventPic(Game& game, int number, PictureShow show);

// Loads picture `number` into MainWork as it is, and no more.
void LoadIntoMainWork(Game& game, int number);

// Loads background 114 + index (index 0: chosen by Condition) and paints
// the day, condition and parameter display over it.
void ShowBackPic(Game& game, int index);

// The picture number ShowBackPic(index) loads under `condition`.
int BackgroundPicture(int index, int condition);

// Loads picture `number` into MainWork as a day background, with the status
// display painted over it; the screen is left to the next text.
void LoadBackgroundPicture(Game& game, int number);

// True for a number ShowEventPic and ShowBackPic can load (0 ... 134).
bool IsScenePicture(int number);

}  // namespace pelmot
