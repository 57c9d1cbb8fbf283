#include "comforts/settings.h"

#include <charconv>
#include <sstream>

#include "game/game.h"
#include "persist/data_files.h"
#include "platform/catalog.h"
#include "platform/ui_text.h"

namespace pelmot {
namespace {

constexpr const char* kHeader = "# PELMOT settings";

std::optional<int> Milliseconds(const std::string& value) {
  int ms = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
  if (error != std::errc() || end != value.data() + value.size() || ms < 0 || ms > kMaxAutoWaitMs) return std::nullopt;
  return ms;
}

std::optional<int> TextSpeed(const std::string& value) {
  for (int speed : kTextSpeeds)
    if (value == std::to_string(speed)) return speed;
  return std::nullopt;
}

std::optional<int> PictureCacheMb(const std::string& value) {
  int mb = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), mb);
  if (error != std::errc() || end != value.data() + value.size() || mb < 0 || mb > kMaxPictureCacheMb)
    return std::nullopt;
  return mb;
}

bool* FlagOf(Settings& s, const std::string& key) {
  if (key == "full_screen") return &s.fullScreen;
  if (key == "save_previews") return &s.savePreviews;
  if (key == "bilingual") return &s.bilingual;
  if (key == "copy_lines") return &s.copyLines;
  if (key == "speak_lines") return &s.speakLines;
  return nullptr;
}

bool Apply(Settings& s, const std::string& key, const std::string& value) {
  if (key == "auto_forward_base_ms" || key == "auto_forward_per_char_ms") {
    const auto ms = Milliseconds(value);
    if (!ms) return false;
    (key == "auto_forward_base_ms" ? s.autoBaseMs : s.autoPerCharMs) = *ms;
  } else if (key == "skip") {
    if (value != "all" && value != "read") return false;
    s.skipMode = value == "all" ? SkipMode::All : SkipMode::ReadOnly;
  } else if (key == "window_size") {
    if (value == "1")
      s.windowSize = WindowSize::One;
    else if (value == "2")
      s.windowSize = WindowSize::Two;
    else if (value == "fit")
      s.windowSize = WindowSize::Fit;
    else
      return false;
  } else if (key == "text_speed") {
    const auto speed = TextSpeed(value);
    if (!speed) return false;
    s.textSpeed = *speed;
  } else if (bool* flag = FlagOf(s, key)) {
    if (value != "0" && value != "1") return false;
    *flag = value == "1";
  } else if (key == "picture_cache_mb") {
    const auto mb = PictureCacheMb(value);
    if (!mb) return false;
    s.pictureCacheMb = *mb;
  } else if (key == "language") {
    if (!IsCatalogCode(value)) return false;
    s.language = value == kOriginalLanguage ? "" : value;
  } else {
    return false;
  }
  return true;
}

const char* WindowSizeName(WindowSize size) {
  switch (size) {
    case WindowSize::Two: return "2";
    case WindowSize::Fit: return "fit";
    case WindowSize::One: break;
  }
  return "1";
}

}  // namespace

std::optional<Settings> ParseSettings(const std::string& text) {
  Settings s;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos || !Apply(s, line.substr(0, equals), line.substr(equals + 1))) return std::nullopt;
  }
  return s;
}

std::string FormatSettings(const Settings& s) {
  std::ostringstream out;
  out << kHeader << "\n"
      << "auto_forward_base_ms=" << s.autoBaseMs << "\n"
      << "auto_forward_per_char_ms=" << s.autoPerCharMs << "\n"
      << "skip=" << (s.skipMode == SkipMode::All ? "all" : "read") << "\n"
      << "window_size=" << WindowSizeName(s.windowSize) << "\n"
      << "full_screen=" << (s.fullScreen ? 1 : 0) << "\n";
  // Instant text writes the file as it was before text had a speed.
  if (s.textSpeed != kInstantText) out << "text_speed=" << s.textSpeed << "\n";
  if (s.savePreviews) out << "save_previews=1\n";
  // The comforts a player never turned on leave the file as it was.
  if (!s.language.empty()) out << "language=" << s.language << "\n";
  if (s.bilingual) out << "bilingual=1\n";
  if (s.copyLines) out << "copy_lines=1\n";
  if (s.speakLines) out << "speak_lines=1\n";
  if (s.pictureCacheMb != kDefaultPictureCacheMb) out << "picture_cache_mb=" << s.pictureCacheMb << "\n";
  return out.str();
}

std::string SettingsPath(const Game& game) { return DataFilePath(game, "SETTINGS.TXT"); }

Settings LoadSettings(Game& game) {
  const std::string path = SettingsPath(game);
  Files& files = game.services.files;
  if (files.IsMissing(path)) return {};
  std::string error;
  const auto text = files.ReadWhole(path, kMaxSettingsBytes, error);
  std::optional<Settings> settings;
  if (text) settings = ParseSettings(*text);
  if (settings) return *settings;
  game.services.dialogs.ShowMessage(Ui(UiText::settings_read_failed) + "\n" + path +
                                    (error.empty() ? "" : "\n" + error));
  return {};
}

bool SaveSettings(Game& game, const Settings& settings) {
  std::string error;
  if (game.services.files.ReplaceWhole(SettingsPath(game), FormatSettings(settings), error)) return true;
  game.services.dialogs.ShowMessage(Ui(UiText::settings_write_failed) + "\n" + SettingsPath(game) + "\n" + error);
  return false;
}

void LimitPictureCopies(Game& game, const Settings& settings) {
  game.services.pictures.KeepCopiesWithin(static_cast<std::uint64_t>(settings.pictureCacheMb) * 1024 * 1024);
}

}  // namespace pelmot
