// The words of the game's own interface, in one table by name: menus,
// message boxes, settings rows, corner lines. The story's words are content
// and come from the scenario instead.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelmot {

// Each name is stable: translations will know the text by it. A text with a
// variable part holds placeholders {0}, {1}, ... that UiFormat fills.
enum class UiText {
  // Buttons and rows shared by boxes and menus.
  ok,
  yes,
  no,
  cancel,
  back,
  // The title menu and its CG menu.
  title_start,
  title_load,
  cg_mode,
  title_quit,
  cg_album,
  cg_slideshow,
  cg_completion,  // {0} pictures seen of {1}
  // The system menu and its questions.
  menu_title,
  menu_save,
  menu_load,
  menu_to_title,
  menu_quit,
  menu_resolution,
  file_select,
  file_slot,      // {0}: the slot's number
  slot_digits,    // the ten digits, 0 to 9, a slot's number is written with
  ask_save_slot,  // {0}: the slot's number, {1}: its stamp
  ask_load_slot,  // {0}: the slot's number, {1}: its stamp
  ask_to_title,
  ask_quit_to_windows,
  ask_quit,
  // The settings screen.
  settings_title,
  settings_on,
  settings_off,
  settings_auto_forward,   // {0}: on or off
  settings_auto_base,      // {0}: milliseconds
  settings_auto_per_char,  // {0}: milliseconds
  settings_skip,           // {0}: all or read only
  settings_skip_all,
  settings_skip_read,
  settings_window_size,  // {0}: one of the sizes
  settings_size_one,
  settings_size_two,
  settings_size_fit,
  settings_full_screen,  // {0}: on or off
  settings_text_speed,   // {0}: instant or so many a second
  settings_text_instant,
  settings_text_per_second,  // {0}: characters a second
  settings_more_above,       // the marks of a list longer than the screen
  settings_more_below,
  settings_save_previews,  // {0}: on or off
  // The day a slot or a choice is on.
  story_prologue,
  story_day,  // {0}: the day's number, 1 ... 14
  // The page's mark while pages turn on their own.
  auto_forward_mark,
  // Corner lines of quick save and quick load.
  quick_save_not_here,
  quick_save_failed,
  quick_save_done,
  quick_load_not_here,
  quick_load_none,
  quick_load_failed,
  quick_load_done,
  // Data files that cannot be read or written.
  data_read_failed,
  data_write_failed,
  save_date_write_failed,
  settings_read_failed,
  settings_write_failed,
  read_record_read_failed,
  slot_file_missing,     // {0}: path
  slot_file_unreadable,  // {0}: the system's reason
  slot_file_too_short,   // {0}: bytes, {1}: path
  slot_cannot_resume,    // {0}: mode, {1}: scene, {2}: step, {3}: path
  // Problems found at start-up.
  content_folder_missing,
  content_folder_hint,
  data_folder_path_too_long,
  data_folder_cannot_make,
  data_folder_not_writable,
  data_folder_nothing_saved,
  no_font,
  scenario_problem,
  scenario_check_hint,
  window_title,
  // Movies that cannot play.
  movie_file_missing,
  movie_device_not_open,
  movie_cannot_play,  // {0}: the decoder's reason
  // The browser's copy of the saved data.
  browser_saves_unreadable,
  browser_saves_not_kept,
  browser_saves_unwritable,
  // The lines the story's structure itself shows.
  story_end_mark,   // after an ending
  story_game_over,  // the line before a game over
  // The history's rows of a choice, and the route chart.
  history_option,  // {0}: an option as the choice showed it
  route_chart_title,
  route_endings,      // {0}: endings reached, {1}: of how many
  route_not_reached,  // in place of the words of what is not reached yet
  route_ending,       // {0}: the ending's number, {1}: its first words
  route_ask_jump,
  route_record_read_failed,
  // Translations and the reading aids.
  settings_language,     // {0}: the language's name
  settings_bilingual,    // {0}: on or off
  settings_copy_lines,   // {0}: on or off
  settings_speak_lines,  // {0}: on or off
  language_name,         // the shown language's own name for itself
  language_unknown,      // {0}: the code asked for, {1}: the codes there are
  language_unreadable,   // {0}: why
  speech_on,
  speech_off,
  count_  // not a text: how many there are; stays last
};

struct UiTextEntry {
  UiText id;
  std::string_view name;
  std::string_view text;
};

// The text named `id` in the shown language.
std::string Ui(UiText id);
// The text named `id` as the original has it, whatever the shown language.
std::string UiOriginal(UiText id);
// The text named `id` with {0}, {1}, ... replaced by `values` in turn.
std::string UiFormat(UiText id, std::initializer_list<std::string> values);
// The whole table, in the order of UiText.
std::span<const UiTextEntry> UiTexts();

// Shows the interface in a translation: `texts[i]`, where not empty,
// stands for UiText i. An empty list shows the original.
void UseUiTranslation(std::vector<std::string> texts);

// While one lives, Ui gives the original texts (what the game keeps in its
// own state, whatever it shows).
class UiOriginalScope {
 public:
  UiOriginalScope();
  ~UiOriginalScope();
  UiOriginalScope(const UiOriginalScope&) = delete;
  UiOriginalScope& operator=(const UiOriginalScope&) = delete;
};

}  // namespace pelmot
