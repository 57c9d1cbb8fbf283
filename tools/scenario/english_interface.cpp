// The interface in English, by UiText name. Placeholders {0}, {1} stay as
// the original has them; the menus and settings rows must fit one row.
#include <map>

#include "english.h"
#include "platform/ui_text.h"

namespace pelmot::tools {
namespace {

const std::map<std::string_view, std::string_view> kInterface = {
    {"ok", "OK"},
    {"yes", "Yes"},
    {"no", "No"},
    {"cancel", "Cancel"},
    {"back", "Back"},
    {"title_start", "New Game"},
    {"title_load", "Load Game"},
    {"cg_mode", "Gallery"},
    {"title_quit", "Quit"},
    {"cg_album", "Album"},
    {"cg_slideshow", "Slideshow"},
    {"cg_completion", "Pictures seen: {0} of {1}"},
    {"menu_title", "Menu"},
    {"menu_save", "Save"},
    {"menu_load", "Load"},
    {"menu_to_title", "Return to Title"},
    {"menu_quit", "Quit Game"},
    {"menu_resolution", "Change Resolution"},
    {"file_select", "Choose a Slot"},
    {"file_slot", "Slot {0}"},
    {"slot_digits", "0123456789"},
    {"ask_save_slot", "Save to slot {0}? {1}"},
    {"ask_load_slot", "Load slot {0}? {1}"},
    {"ask_to_title", "Leave the game and return to the title screen?"},
    {"ask_quit_to_windows", "Quit the game and return to Windows?"},
    {"ask_quit", "Quit the game?"},
    {"settings_title", "Settings"},
    {"settings_on", "On"},
    {"settings_off", "Off"},
    {"settings_auto_forward", "Auto-advance: {0}"},
    {"settings_auto_base", "Auto-advance wait: {0} ms"},
    {"settings_auto_per_char", "Extra wait per character: {0} ms"},
    {"settings_skip", "Skip: {0}"},
    {"settings_skip_all", "All text"},
    {"settings_skip_read", "Read text only"},
    {"settings_window_size", "Window size: {0}"},
    {"settings_size_one", "1x"},
    {"settings_size_two", "2x"},
    {"settings_size_fit", "Fit to screen"},
    {"settings_full_screen", "Full screen: {0}"},
    {"settings_text_speed", "Text speed: {0}"},
    {"settings_text_instant", "Instant"},
    {"settings_text_per_second", "{0} characters a second"},
    {"settings_more_above", "▲"},
    {"settings_more_below", "▼"},
    {"settings_save_previews", "Save previews: {0}"},
    {"story_prologue", "Prologue"},
    {"story_day", "Day {0}"},
    {"auto_forward_mark", "Auto"},
    {"quick_save_not_here", "Quick save is not available here"},
    {"quick_save_failed", "Quick save failed"},
    {"quick_save_done", "Quick saved"},
    {"quick_load_not_here", "Quick load is not available here"},
    {"quick_load_none", "There is no quick save to load"},
    {"quick_load_failed", "Quick load failed"},
    {"quick_load_done", "Quick loaded"},
    {"data_read_failed", "The data could not be read."},
    {"data_write_failed", "The data could not be written."},
    {"save_date_write_failed", "The save's date could not be stored."},
    {"settings_read_failed", "The settings could not be read. The game starts with the default settings."},
    {"settings_write_failed", "The settings could not be saved."},
    {"read_record_read_failed",
     "The record of lines already read could not be read. The file is left as it is, and nothing read this time "
     "is recorded."},
    {"slot_file_missing", "The file is missing: {0}"},
    {"slot_file_unreadable", "The file cannot be read: {0}"},
    {"slot_file_too_short", "The file is too short ({0} bytes, 30 bytes needed): {1}"},
    {"slot_cannot_resume", "The game cannot resume from this data (mode {0}, scene {1}, step {2}): {3}"},
    {"content_folder_missing", "The folder of the game's data is missing."},
    {"content_folder_hint", "Name the right folder with --content."},
    {"data_folder_path_too_long", "The path of the save data folder is too long."},
    {"data_folder_cannot_make", "The save data folder cannot be created."},
    {"data_folder_not_writable", "The save data folder cannot be written to."},
    {"data_folder_nothing_saved", "As things are, nothing will be saved. Name another folder with --data-dir."},
    {"no_font",
     "No font for the game's text: every character shows as a block.\n"
     "Install the package fonts-ipafont-gothic (IPAGothic), or MS Gothic."},
    {"scenario_problem", "The scenario has problems, so the game cannot start."},
    {"scenario_check_hint", "Run pelmot --check-content to see the list of problems."},
    {"window_title", "PELMOT"},
    {"movie_file_missing", "The file was not found.\nCheck the path and the file name."},
    {"movie_device_not_open", "The device is not open."},
    {"movie_cannot_play", "The movie cannot be played ({0})."},
    {"browser_saves_unreadable", "The saves kept in the browser could not be read."},
    {"browser_saves_not_kept", "Nothing played on this page will be kept."},
    {"browser_saves_unwritable", "The saves could not be stored in the browser."},
    {"story_end_mark", "- The End -"},
    {"story_game_over", "Game Over"},
    {"history_option", "  · {0}"},
    {"route_chart_title", "Route Chart"},
    {"route_endings", "Endings: {0} of {1}"},
    {"route_not_reached", "???"},
    {"route_ending", "{0}. {1}"},
    {"route_ask_jump", "Leave the game and go back to this choice?"},
    {"route_record_read_failed", "The record of choices (ROUTES.TXT) could not be read. This play is not recorded."},
    {"settings_language", "Language: {0}"},
    {"settings_bilingual", "Original above the translation: {0}"},
    {"settings_copy_lines", "Copy lines to the clipboard: {0}"},
    {"settings_speak_lines", "Read lines aloud (V key): {0}"},
    {"language_name", "English"},
    {"language_unknown", "There is no translation for {0}. Languages: {1}"},
    {"language_unreadable", "The translation could not be read: {0}"},
    {"speech_on", "Reading aloud: on"},
    {"speech_off", "Reading aloud: off"},
};

}  // namespace

std::optional<std::string> EnglishInterfaceText(std::string_view name) {
  auto it = kInterface.find(name);
  if (it == kInterface.end()) return std::nullopt;
  return std::string(it->second);
}

std::string UnknownInterfaceNames() {
  std::string unknown;
  for (const auto& [name, text] : kInterface) {
    bool known = false;
    for (const UiTextEntry& ui : UiTexts()) known = known || ui.name == name;
    if (!known) unknown += (unknown.empty() ? "" : ", ") + std::string(name);
  }
  return unknown;
}

}  // namespace pelmot::tools
