#include "comforts/settings_screen.h"

#include <algorithm>
#include <array>
#include <string>

#include "comforts/comfort_canvas.h"
#include "comforts/comfort_state.h"
#include "comforts/typewriter.h"
#include "flow/input.h"
#include "game/game.h"
#include "platform/ui_text.h"
#include "present/shown_language.h"
#include "shell/display_mode.h"

namespace pelmot {
namespace {

constexpr std::array kBaseChoicesMs{500, 1000, 1500, 2000, 3000, 5000};
constexpr std::array kPerCharChoicesMs{0, 20, 40, 60, 80, 100, 150};
constexpr UiText kTitle = UiText::settings_title;
constexpr Colour kFrameColour = Rgb(240, 240, 240);

bool IsFullScreen(Game& game) {
  const DisplaySettings now = game.services.display.Current();
  return now.width == kScreenWidth || now.height == kScreenHeight;
}

// The next choice above (or below) `value`; past the end, the first (or
// last) when `wrap`, else where it is.
template <std::size_t N>
int Stepped(int value, const std::array<int, N>& choices, int direction, bool wrap) {
  if (direction > 0) {
    for (int c : choices)
      if (c > value) return c;
    return wrap ? choices.front() : std::max(value, choices.back());
  }
  for (auto it = choices.rbegin(); it != choices.rend(); ++it)
    if (*it < value) return *it;
  return wrap ? choices.back() : std::min(value, choices.front());
}

std::string OnOff(bool on) { return Ui(on ? UiText::settings_on : UiText::settings_off); }

std::string WindowSizeText(WindowSize size) {
  switch (size) {
    case WindowSize::Two: return Ui(UiText::settings_size_two);
    case WindowSize::Fit: return Ui(UiText::settings_size_fit);
    case WindowSize::One: break;
  }
  return Ui(UiText::settings_size_one);
}

std::string TextSpeedText(int speed) {
  if (speed == kInstantText) return Ui(UiText::settings_text_instant);
  return UiFormat(UiText::settings_text_per_second, {std::to_string(speed)});
}

std::string RowText(const ComfortState& c, SettingsRow row) {
  const Settings& s = c.settings;
  switch (row) {
    case SettingsRow::TextSpeed: return UiFormat(UiText::settings_text_speed, {TextSpeedText(s.textSpeed)});
    case SettingsRow::AutoForward: return UiFormat(UiText::settings_auto_forward, {OnOff(c.autoForward.on)});
    case SettingsRow::AutoBase: return UiFormat(UiText::settings_auto_base, {std::to_string(s.autoBaseMs)});
    case SettingsRow::AutoPerChar: return UiFormat(UiText::settings_auto_per_char, {std::to_string(s.autoPerCharMs)});
    case SettingsRow::Skip:
      return UiFormat(UiText::settings_skip,
                      {Ui(s.skipMode == SkipMode::All ? UiText::settings_skip_all : UiText::settings_skip_read)});
    case SettingsRow::WindowSize: return UiFormat(UiText::settings_window_size, {WindowSizeText(s.windowSize)});
    case SettingsRow::FullScreen: return UiFormat(UiText::settings_full_screen, {OnOff(s.fullScreen)});
    case SettingsRow::SavePreviews: return UiFormat(UiText::settings_save_previews, {OnOff(s.savePreviews)});
    case SettingsRow::Language: return UiFormat(UiText::settings_language, {Ui(UiText::language_name)});
    case SettingsRow::Bilingual: return UiFormat(UiText::settings_bilingual, {OnOff(s.bilingual)});
    case SettingsRow::CopyLines: return UiFormat(UiText::settings_copy_lines, {OnOff(s.copyLines)});
    case SettingsRow::SpeakLines: return UiFormat(UiText::settings_speak_lines, {OnOff(s.speakLines)});
    case SettingsRow::Close:
    case SettingsRow::Count: break;
  }
  return Ui(UiText::back);
}

// The next language there is; one that cannot be read is told in a box and
// passed over.
void ChooseNextLanguage(Game& game, ComfortState& c, int direction) {
  std::string code = LanguageCode(game);
  const std::size_t count = LanguagesThereAre(c.language).size();
  for (std::size_t tried = 1; tried < count; ++tried) {
    code = NextLanguage(c.language, code, direction);
    std::string problem;
    if (SwitchLanguage(game, c, code, problem)) {
      c.settings.language = code == kOriginalLanguage ? "" : code;
      return;
    }
    game.services.dialogs.ShowMessage(problem);
  }
}

WindowSize NextWindowSize(WindowSize size, int direction) {
  const int n = (static_cast<int>(size) + direction + 3) % 3;
  return static_cast<WindowSize>(n);
}

void Close(Game& game, ComfortState& c) {
  c.settingsScreen.open = false;
  if (!(c.settings == c.settingsScreen.whenOpened)) SaveSettings(game, c.settings);
}

// Changes the selected setting one way; Enter and a click go forward and
// wrap round.
void Change(Game& game, ComfortState& c, int direction, bool wrap) {
  Settings& s = c.settings;
  switch (static_cast<SettingsRow>(c.settingsScreen.rows.selected)) {
    case SettingsRow::TextSpeed:
      s.textSpeed = Stepped(s.textSpeed, kTextSpeeds, direction, wrap);
      AskForPagesUnderText(game, s);
      break;
    case SettingsRow::AutoForward: ToggleAutoForward(game, c); break;
    case SettingsRow::AutoBase: s.autoBaseMs = Stepped(s.autoBaseMs, kBaseChoicesMs, direction, wrap); break;
    case SettingsRow::AutoPerChar:
      s.autoPerCharMs = Stepped(s.autoPerCharMs, kPerCharChoicesMs, direction, wrap);
      break;
    case SettingsRow::Skip: s.skipMode = s.skipMode == SkipMode::All ? SkipMode::ReadOnly : SkipMode::All; break;
    case SettingsRow::WindowSize:
      s.windowSize = NextWindowSize(s.windowSize, direction);
      game.services.display.SizeWindow(s.windowSize == WindowSize::Fit ? 0 : static_cast<int>(s.windowSize) + 1);
      break;
    case SettingsRow::FullScreen:
      s.fullScreen = !s.fullScreen;
      ApplyWindowSettings(game, s);
      break;
    case SettingsRow::SavePreviews: s.savePreviews = !s.savePreviews; break;
    case SettingsRow::Language: ChooseNextLanguage(game, c, direction); break;
    case SettingsRow::Bilingual:
      s.bilingual = !s.bilingual;
      Language(game).bilingual = s.bilingual;
      ShowAgainInLanguage(game, c);
      break;
    case SettingsRow::CopyLines: s.copyLines = !s.copyLines; break;
    case SettingsRow::SpeakLines:
      s.speakLines = !s.speakLines;
      c.language.speechMuted = false;
      if (!s.speakLines && c.language.aids) c.language.aids->StopSpeaking();
      break;
    case SettingsRow::Close:
    case SettingsRow::Count: Close(game, c); break;
  }
}

void TakeKey(Game& game, ComfortState& c, int key) {
  RowList& rows = c.settingsScreen.rows;
  switch (key) {
    case kVkUp: rows.Select(rows.selected - 1); break;
    case kVkDown:
    case kVkTab: rows.Select(rows.selected + 1); break;
    case kVkPageUp: rows.Select(std::max(0, rows.selected - rows.Shown())); break;
    case kVkPageDown: rows.Select(std::min(rows.count - 1, rows.selected + rows.Shown())); break;
    case kVkLeft:
    case kVkRight:
      // The arrows change a setting; they never close the screen.
      if (rows.selected != static_cast<int>(SettingsRow::Close)) Change(game, c, key == kVkLeft ? -1 : +1, false);
      break;
    case kVkEnter:
    case kVkSpace: Change(game, c, +1, true); break;
    case kVkEscape:
    case kVkF2: Close(game, c); break;
    default: break;
  }
}

void TakePress(Game& game, ComfortState& c, const InputEvent& e) {
  if (e.button == kRightButton) {
    Close(game, c);
    return;
  }
  if (e.button != kLeftButton) return;
  RowList& rows = c.settingsScreen.rows;
  const int slot = SettingsRowAt(e.y);
  // The marks scroll the list a row that way.
  if (slot == kSettingsMoreAboveSlot && rows.MoreAbove()) rows.Scroll(-1);
  if (slot == rows.Shown() && rows.MoreBelow()) rows.Scroll(+1);
  const auto row = rows.RowInSlot(slot);
  if (!row) return;
  rows.Select(*row);
  Change(game, c, +1, true);
}

void DrawMark(ComfortCanvas& canvas, int slot, UiText mark) {
  const std::string text = Ui(mark);
  canvas.ShadowedText(CentredLeft(canvas.TextWidth(text)), SettingsRowTextTop(slot), text);
}

}  // namespace

void OpenSettingsScreen(Game& game, ComfortState& c) {
  SettingsScreen& screen = c.settingsScreen;
  screen.open = true;
  screen.rows = {kSettingsRowCount, kSettingsRoom};
  c.settings.fullScreen = IsFullScreen(game);  // F1 may have changed it
  screen.whenOpened = c.settings;
}

bool SettingsScreenTakeEvent(Game& game, ComfortState& c, const InputEvent& e) {
  using Kind = InputEvent::Kind;
  if (!c.settingsScreen.open) return false;
  switch (e.kind) {
    case Kind::kKeyUp:
    case Kind::kCloseRequested:
    case Kind::kDialogAnswered: return false;
    case Kind::kKeyDown: TakeKey(game, c, e.key); break;
    case Kind::kMouseDown: TakePress(game, c, e); break;
    case Kind::kMouseMove:
      if (const auto row = c.settingsScreen.rows.RowInSlot(SettingsRowAt(e.y))) c.settingsScreen.rows.Select(*row);
      break;
    case Kind::kWheel: c.settingsScreen.rows.Scroll(-e.wheel); break;
    case Kind::kMouseUp: break;
  }
  return true;
}

void DrawSettingsScreen(Game& game, const ComfortState& c, std::span<Colour> pixels) {
  ComfortCanvas canvas(game, pixels, kWholeScreen);
  canvas.DimmedPicture();
  canvas.ShadowedText(CentredLeft(canvas.TextWidth(Ui(kTitle))), kMenuTextTop, Ui(kTitle));
  const RowList& rows = c.settingsScreen.rows;
  if (rows.MoreAbove()) DrawMark(canvas, kSettingsMoreAboveSlot, UiText::settings_more_above);
  if (rows.MoreBelow()) DrawMark(canvas, rows.Shown(), UiText::settings_more_below);
  for (int slot = 0; slot < rows.Shown(); ++slot) {
    const int i = rows.first + slot;
    const std::string text = RowText(c, static_cast<SettingsRow>(i));
    const int width = canvas.TextWidth(text);
    const int top = SettingsRowTextTop(slot);
    canvas.ShadowedText(CentredLeft(width), top, text);
    if (i == rows.selected)
      canvas.Outline(
          {CentredLeft(width) - kSettingsFrameSide, top - kFrameAboveText, width + 2 * kSettingsFrameSide, kRowPitch},
          kFrameColour);
  }
}

void ApplyWindowSettings(Game& game, const Settings& settings) {
  if (settings.fullScreen != IsFullScreen(game)) ToggleResolution(game);
  if (settings.windowSize != WindowSize::One)
    game.services.display.SizeWindow(settings.windowSize == WindowSize::Fit ? 0 : 2);
}

}  // namespace pelmot
