// The placeholder story in English. Its lines are formulas (where the
// player is, what the steps around change, where an option leads) plus a
// few lines that try the text window; each part has its English here, and
// a text left with words of the original has none.
#include <regex>
#include <utility>
#include <vector>

#include "english.h"

namespace pelmot::tools {
namespace {

// The greetings and the lines that try the text window, whole.
const std::vector<std::pair<std::string, std::string>> kSentences = {
    {"二週間以上ぶりですね。お元気でしたか。", "It has been over two weeks. How have you been?"},
    {"数日ぶりですね。", "It has been a few days."},
    {"一週間ぶりくらいでしょうか。", "It has been about a week, hasn't it?"},
    {"二、三日ぶりですね。", "It has been two or three days."},
    {"こんにちは。午後のひとときですね。", "Hello. A quiet moment in the afternoon."},
    {"一か月以上ぶりですね。待っていました。", "It has been over a month. I was waiting for you."},
    {"こんばんは。夜更かしですね。", "Good evening. Staying up late?"},
    {"おはようございます。", "Good morning."},
    {"こんにちは。お昼ですね。", "Hello. It's lunchtime."},
    {"おかえりなさい。すぐに戻ってきましたね。", "Welcome back. That was quick."},
    {"こんな真夜中に……眠れないのですか。", "In the middle of the night... can't you sleep?"},
    {"最初の結末を見届けましたね。", "You have seen the first ending."},
    {"六つ目の結末を見届けましたね。", "You have seen the sixth ending."},
    {"最後の結末を見届けてくれて、ありがとう。", "Thank you for seeing the last ending."},
    {"また会えましたね。", "We meet again."},
    {"改行の例。", "Row breaks."},
    {"一行目のあとで改行。", "A break after the first row."},
    {"二行目のあとで改行。", "A break after the second row."},
    {"三行目でおしまい。", "The third row ends it."},
    {"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほま。句点は行の終わりに付きます。",
     "This row runs on to the very edge of the text so that its last word must wrap. A full stop stays with "
     "its word."},
    {"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほま。」と二つ続くと、どちらも次の行へ。",
     "This row too runs on to the very edge of the text, and a closing \"quote.\" stays with its word."},
    {"　二ページにわたる行：", " A line over two pages:"},
    {"　長い行の例：", " An example of a long line:"},
    {"これは何ページにもわたる長い行です。クリックするたびに続きが出ます。",
     " This is a long line that runs over many pages. Each click shows more of it."},
    {"　さあ、どうする？", ". What will you do?"},
    {"　（ここでは早送りが止まらない）", " (skipping does not stop here)"},
};

// The formulas' words, in the order they are replaced.
const std::vector<std::pair<std::regex, std::string>>& Formulas() {
  static const std::vector<std::pair<std::regex, std::string>> formulas = {
      {std::regex("(\\d+)行目"), "Row $1"},
      {std::regex("　済："), "; done: "},
      {std::regex("　次："), "; next: "},
      {std::regex("選択(\\d+)："), "Option $1: "},
      {std::regex("選んだ道へ分かれる"), "branch by the pick"},
      {std::regex("エンディングを選ぶ"), "choose the ending"},
      {std::regex("エンディング(\\d+)"), "ending $1"},
      {std::regex("ゲームオーバー"), "game over"},
      {std::regex("場面(\\d+)へ"), "to scene $1"},
      {std::regex("s(\\d+)へ"), "to s$1"},
      {std::regex("次へ"), "on"},
      {std::regex("^場面"), "Scene "},
      {std::regex("日付:="), "day:="},
      {std::regex("、"), ", "},
  };
  return formulas;
}

bool IsAscii(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::optional<std::string> EnglishStoryText(const std::string& original) {
  std::string text = original;
  for (const auto& [japanese, english] : kSentences)
    for (std::size_t at; (at = text.find(japanese)) != std::string::npos;) text.replace(at, japanese.size(), english);
  for (const auto& [pattern, english] : Formulas()) text = std::regex_replace(text, pattern, english);
  if (!IsAscii(text)) return std::nullopt;
  return text;
}

}  // namespace pelmot::tools
