// The settings screen (F2): the speed text is drawn at, turning pages on
// their own and its waits, what skipping skips, the window's size and full
// screen, the save previews. Changes apply at once; closing it keeps them in
// the settings file when anything changed. A list longer than the screen
// scrolls.
#pragma once

#include <span>
#include <vector>

#include "comforts/comfort_geometry.h"
#include "comforts/row_list.h"
#include "comforts/settings.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;
struct ComfortState;

enum class SettingsRow {
  TextSpeed,
  AutoForward,
  AutoBase,
  AutoPerChar,
  Skip,
  WindowSize,
  FullScreen,
  SavePreviews,
  Language,
  Bilingual,
  CopyLines,
  SpeakLines,
  Close,
  Count
};
inline constexpr int kSettingsRowCount = static_cast<int>(SettingsRow::Count);

struct SettingsScreen {
  bool open = false;
  RowList rows{kSettingsRowCount, kSettingsRoom};
  Settings whenOpened;
};

void OpenSettingsScreen(Game& game, ComfortState& comforts);
// While open it takes every event but a key release and the close request.
bool SettingsScreenTakeEvent(Game& game, ComfortState& comforts, const InputEvent& event);
void DrawSettingsScreen(Game& game, const ComfortState& comforts, std::span<Colour> pixels);

// Puts the window's size and full screen as the settings say.
void ApplyWindowSettings(Game& game, const Settings& settings);

}  // namespace pelmot
