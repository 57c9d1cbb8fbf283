#include "platform/ui_text.h"

#include <iterator>

namespace pelmot {
namespace {

#define PELMOT_UI_TEXT(name, text) \
  { UiText::name, #name, text }

// In the order of UiText; the texts as the player sees them.
constexpr UiTextEntry kEntries[] = {
    PELMOT_UI_TEXT(ok, "OK"),
    PELMOT_UI_TEXT(yes, "はい"),
    PELMOT_UI_TEXT(no, "いいえ"),
    PELMOT_UI_TEXT(cancel, "キャンセル"),
    PELMOT_UI_TEXT(back, "戻る"),
    PELMOT_UI_TEXT(title_start, "ゲームスタート"),
    PELMOT_UI_TEXT(title_load, "ゲームロード"),
    PELMOT_UI_TEXT(cg_mode, "ＣＧモード"),
    PELMOT_UI_TEXT(title_quit, "ゲームを終了する"),
    PELMOT_UI_TEXT(cg_album, "アルバムモード"),
    PELMOT_UI_TEXT(cg_slideshow, "スライドショー"),
    PELMOT_UI_TEXT(cg_completion, "ＣＧ達成率{0}／{1}"),
    PELMOT_UI_TEXT(menu_title, "メニュー"),
    PELMOT_UI_TEXT(menu_save, "セーブ"),
    PELMOT_UI_TEXT(menu_load, "ロード"),
    PELMOT_UI_TEXT(menu_to_title, "タイトルに戻る"),
    PELMOT_UI_TEXT(menu_quit, "ゲーム終了"),
    PELMOT_UI_TEXT(menu_resolution, "解像度変更"),
    PELMOT_UI_TEXT(file_select, "ファイル選択"),
    PELMOT_UI_TEXT(file_slot, "データ{0}"),
    PELMOT_UI_TEXT(slot_digits, "０１２３４５６７８９"),
    PELMOT_UI_TEXT(ask_save_slot, "データ{0}{1}にセーブしますか？"),
    PELMOT_UI_TEXT(ask_load_slot, "データ{0}{1}をロードしますか？"),
    PELMOT_UI_TEXT(ask_to_title, "ゲームを中断してタイトルに戻りますか？"),
    PELMOT_UI_TEXT(ask_quit_to_windows, "ゲームを終了してWINDOWSに戻りますか？"),
    PELMOT_UI_TEXT(ask_quit, "ゲームを終了しますか？"),
    PELMOT_UI_TEXT(settings_title, "設定"),
    PELMOT_UI_TEXT(settings_on, "入"),
    PELMOT_UI_TEXT(settings_off, "切"),
    PELMOT_UI_TEXT(settings_auto_forward, "自動送り　{0}"),
    PELMOT_UI_TEXT(settings_auto_base, "自動送りの待ち（基本）　{0}ミリ秒"),
    PELMOT_UI_TEXT(settings_auto_per_char, "自動送りの待ち（一文字）　{0}ミリ秒"),
    PELMOT_UI_TEXT(settings_skip, "スキップ　{0}"),
    PELMOT_UI_TEXT(settings_skip_all, "すべて"),
    PELMOT_UI_TEXT(settings_skip_read, "既読のみ"),
    PELMOT_UI_TEXT(settings_window_size, "ウィンドウの大きさ　{0}"),
    PELMOT_UI_TEXT(settings_size_one, "１倍"),
    PELMOT_UI_TEXT(settings_size_two, "２倍"),
    PELMOT_UI_TEXT(settings_size_fit, "画面に合わせる"),
    PELMOT_UI_TEXT(settings_full_screen, "フルスクリーン　{0}"),
    PELMOT_UI_TEXT(settings_text_speed, "文字の速さ　{0}"),
    PELMOT_UI_TEXT(settings_text_instant, "瞬間"),
    PELMOT_UI_TEXT(settings_text_per_second, "毎秒{0}文字"),
    PELMOT_UI_TEXT(settings_more_above, "▲"),
    PELMOT_UI_TEXT(settings_more_below, "▼"),
    PELMOT_UI_TEXT(settings_save_previews, "セーブのプレビュー　{0}"),
    PELMOT_UI_TEXT(story_prologue, "プロローグ"),
    PELMOT_UI_TEXT(story_day, "{0}日目"),
    PELMOT_UI_TEXT(auto_forward_mark, "自動"),
    PELMOT_UI_TEXT(quick_save_not_here, "ここではクイックセーブできません"),
    PELMOT_UI_TEXT(quick_save_failed, "クイックセーブできませんでした"),
    PELMOT_UI_TEXT(quick_save_done, "クイックセーブしました"),
    PELMOT_UI_TEXT(quick_load_not_here, "ここではクイックロードできません"),
    PELMOT_UI_TEXT(quick_load_none, "クイックセーブのデータがありません"),
    PELMOT_UI_TEXT(quick_load_failed, "クイックロードできませんでした"),
    PELMOT_UI_TEXT(quick_load_done, "クイックロードしました"),
    PELMOT_UI_TEXT(data_read_failed, "データを読み込めませんでした。"),
    PELMOT_UI_TEXT(data_write_failed, "データを書き込めませんでした。"),
    PELMOT_UI_TEXT(save_date_write_failed, "日付を保存できませんでした。"),
    PELMOT_UI_TEXT(settings_read_failed, "設定を読み込めませんでした。初期設定で始めます。"),
    PELMOT_UI_TEXT(settings_write_failed, "設定を保存できませんでした。"),
    PELMOT_UI_TEXT(read_record_read_failed,
                   "既読の記録を読み込めませんでした。ファイルはそのまま残し、今回読んだ文は記録しません。"),
    PELMOT_UI_TEXT(slot_file_missing, "ファイルがありません: {0}"),
    PELMOT_UI_TEXT(slot_file_unreadable, "ファイルを読み込めません: {0}"),
    PELMOT_UI_TEXT(slot_file_too_short, "ファイルが短すぎます ({0} バイト、30 バイト必要): {1}"),
    PELMOT_UI_TEXT(slot_cannot_resume, "このデータからは再開できません (モード {0}、シーン {1}、ステップ {2}): {3}"),
    PELMOT_UI_TEXT(content_folder_missing, "ゲームのデータのフォルダーがありません。"),
    PELMOT_UI_TEXT(content_folder_hint, "--content で正しいフォルダーを指定してください。"),
    PELMOT_UI_TEXT(data_folder_path_too_long, "セーブデータのフォルダーのパスが長すぎます。"),
    PELMOT_UI_TEXT(data_folder_cannot_make, "セーブデータのフォルダーを作れません。"),
    PELMOT_UI_TEXT(data_folder_not_writable, "セーブデータのフォルダーに書き込めません。"),
    PELMOT_UI_TEXT(data_folder_nothing_saved,
                   "このままでは何もセーブされません。--data-dir で別のフォルダーを指定してください。"),
    // In English: without a font, the box may only be readable where the
    // desktop draws it with a font of its own.
    PELMOT_UI_TEXT(no_font,
                   "No font for the game's text: every character shows as a block.\n"
                   "Install the package fonts-ipafont-gothic (IPAGothic), or MS Gothic."),
    PELMOT_UI_TEXT(scenario_problem, "シナリオに問題があるため、ゲームを始められません。"),
    PELMOT_UI_TEXT(scenario_check_hint, "pelmot --check-content で問題の一覧を確かめてください。"),
    PELMOT_UI_TEXT(window_title, "PELMOT"),
    PELMOT_UI_TEXT(movie_file_missing, "指定されたファイルが見つかりません。\nパスとファイル名を確認してください。"),
    PELMOT_UI_TEXT(movie_device_not_open, "指定されたデバイスは開かれていません。"),
    PELMOT_UI_TEXT(movie_cannot_play, "動画を再生できません（{0}）。"),
    PELMOT_UI_TEXT(browser_saves_unreadable, "ブラウザのセーブデータを読み込めませんでした。"),
    PELMOT_UI_TEXT(browser_saves_not_kept, "このページで遊んだ内容は保存されません。"),
    PELMOT_UI_TEXT(browser_saves_unwritable, "セーブデータをブラウザに保存できませんでした。"),
    PELMOT_UI_TEXT(story_end_mark, "＜終わり＞"),
    PELMOT_UI_TEXT(story_game_over, "ゲームオーバー"),
    PELMOT_UI_TEXT(history_option, "　・{0}"),
    PELMOT_UI_TEXT(route_chart_title, "ルートチャート"),
    PELMOT_UI_TEXT(route_endings, "エンディング　{0}／{1}"),
    PELMOT_UI_TEXT(route_not_reached, "？？？"),
    PELMOT_UI_TEXT(route_ending, "{0}．{1}"),
    PELMOT_UI_TEXT(route_ask_jump, "ゲームを中断してこの選択肢に戻りますか？"),
    PELMOT_UI_TEXT(route_record_read_failed,
                   "選択肢の記録（ROUTES.TXT）を読み込めませんでした。この回は記録しません。"),
    PELMOT_UI_TEXT(settings_language, "言語：{0}"),
    PELMOT_UI_TEXT(settings_bilingual, "原文と訳文を並べる：{0}"),
    PELMOT_UI_TEXT(settings_copy_lines, "文章をクリップボードにコピー：{0}"),
    PELMOT_UI_TEXT(settings_speak_lines, "文章の読み上げ（Ｖキー）：{0}"),
    PELMOT_UI_TEXT(language_name, "日本語"),
    PELMOT_UI_TEXT(language_unknown, "言語 {0} の翻訳がありません。使える言語：{1}"),
    PELMOT_UI_TEXT(language_unreadable, "翻訳を読み込めませんでした：{0}"),
    PELMOT_UI_TEXT(speech_on, "読み上げ：オン"),
    PELMOT_UI_TEXT(speech_off, "読み上げ：オフ"),
};

#undef PELMOT_UI_TEXT

constexpr bool EveryNameInItsPlace() {
  if (std::size(kEntries) != static_cast<std::size_t>(UiText::count_)) return false;
  for (std::size_t i = 0; i < std::size(kEntries); ++i)
    if (kEntries[i].id != static_cast<UiText>(i)) return false;
  return true;
}
static_assert(EveryNameInItsPlace(), "kEntries holds each UiText once, in the enum's order");

// The shown translation, by UiText; empty for the original. Set between
// games, read by the game's thread only.
std::vector<std::string>& ShownTexts() {
  static std::vector<std::string> texts;
  return texts;
}
int originalScopes = 0;

}  // namespace

std::string UiOriginal(UiText id) {
  const auto index = static_cast<std::size_t>(id);
  return index < std::size(kEntries) ? std::string(kEntries[index].text) : std::string();
}

std::string Ui(UiText id) {
  const auto index = static_cast<std::size_t>(id);
  const std::vector<std::string>& shown = ShownTexts();
  if (originalScopes == 0 && index < shown.size() && !shown[index].empty()) return shown[index];
  return UiOriginal(id);
}

void UseUiTranslation(std::vector<std::string> texts) { ShownTexts() = std::move(texts); }

UiOriginalScope::UiOriginalScope() { ++originalScopes; }
UiOriginalScope::~UiOriginalScope() { --originalScopes; }

// One pass over the text, so a value that itself holds "{1}" stays as it is.
std::string UiFormat(UiText id, std::initializer_list<std::string> values) {
  const std::string text = Ui(id);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool placeholder =
        text[i] == '{' && i + 2 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9' && text[i + 2] == '}';
    const auto n = placeholder ? static_cast<std::size_t>(text[i + 1] - '0') : values.size();
    if (n < values.size()) {
      out += values.begin()[n];
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::span<const UiTextEntry> UiTexts() { return kEntries; }

}  // namespace pelmot
