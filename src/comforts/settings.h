// What the player has set, kept in a file of its own beside the game's data
// files. Without that file every setting is the game's own behaviour.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace pelmot {

class Game;

enum class SkipMode { All, ReadOnly };
// The window's size: a whole multiple of the picture, or the largest that
// fits the screen.
enum class WindowSize { One, Two, Fit };
// The speeds text may be drawn at, in characters a second; instant draws
// each page whole, as the game always has.
inline constexpr int kInstantText = 0;
inline constexpr std::array kTextSpeeds{kInstantText, 10, 20, 30, 45, 60};
// The most the packed copies of pictures kept between runs may take, in
// MiB; 0 keeps none.
inline constexpr int kDefaultPictureCacheMb = 512;
inline constexpr int kMaxPictureCacheMb = 1024 * 1024;

struct Settings {
  int autoBaseMs = 1500;   // every line waits this long ...
  int autoPerCharMs = 80;  // ... and this much more for each of its characters
  SkipMode skipMode = SkipMode::All;
  WindowSize windowSize = WindowSize::One;
  bool fullScreen = false;
  int textSpeed = kInstantText;  // characters a second a page is drawn at
  bool savePreviews = false;     // the file select shows the framed slot's picture, day and line
  std::string language;          // a catalog's code; empty: the original
  bool bilingual = false;        // a translated line under its original
  bool copyLines = false;        // each line shown goes to the clipboard
  bool speakLines = false;       // lines, options and menus are read aloud
  int pictureCacheMb = kDefaultPictureCacheMb;  // set only in the file
  bool operator==(const Settings&) const = default;
};

inline constexpr int kMaxAutoWaitMs = 60000;  // either wait, at most
inline constexpr std::size_t kMaxSettingsBytes = 4096;

// "key=value" lines; nothing when a line is unknown or a value out of range.
std::optional<Settings> ParseSettings(const std::string& text);
std::string FormatSettings(const Settings& settings);

std::string SettingsPath(const Game& game);
// The settings in the file; defaults when there is none, and defaults with
// one message box when it cannot be read or is damaged.
Settings LoadSettings(Game& game);
// Replaces the file whole; a failure is shown and the old file stays.
bool SaveSettings(Game& game, const Settings& settings);
// Tells the picture loader how much its copies kept between runs may take.
void LimitPictureCopies(Game& game, const Settings& settings);

}  // namespace pelmot
