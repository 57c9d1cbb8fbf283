// The settings screen (F2): turning pages on their own and its waits, what
// skipping skips, the window's size and full screen, the save previews.
// Changes apply at once; closing it keeps them in the settings file when
// anything changed.
#pragma once

#include <span>
#include <vector>

#include "comforts/settings.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;
struct ComfortState;

struct SettingsScreen {
  bool open = false;
  int selected = 0;
  Settings whenOpened;
};

enum class SettingsRow { AutoForward, AutoBase, AutoPerChar, Skip, WindowSize, FullScreen, SavePreviews, Close, Count };
inline constexpr int kSettingsRowCount = static_cast<int>(SettingsRow::Count);

void OpenSettingsScreen(Game& game, ComfortState& comforts);
// While open it takes every event but a key release and the close request.
bool SettingsScreenTakeEvent(Game& game, ComfortState& comforts, const InputEvent& event);
void DrawSettingsScreen(Game& game, const ComfortState& comforts, std::span<Colour> pixels);

// Puts the window's size and full screen as the settings say.
void ApplyWindowSettings(Game& game, const Settings& settings);

}  // namespace pelmot
