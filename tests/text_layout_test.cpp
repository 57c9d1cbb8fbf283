// Row layout of text lines: width breaks, break marks, the line-start rule,
// page-full values and what is kept for the next page. Widths are those of
// the window's font at 24 pixels: full-width 24, half-width 12.
#include <gtest/gtest.h>

#include "platform/cell_text.h"
#include "platform/utf8.h"
#include "present/text_layout.h"

namespace pelmot {
namespace {

int FontWidth(std::u32string_view row) {
  int width = 0;
  for (char32_t c : row) width += CellTextEngine::CharWidth(c, 24);
  return width;
}

std::u32string U(std::string_view utf8) { return DecodeUtf8(utf8); }

std::u32string Repeat(std::u32string_view piece, int times) {
  std::u32string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

PageLayout Lay(std::u32string_view text, const TextLayout& layout, int lineNo = 0) {
  const std::size_t from = StartsWithContinueMark(text) ? 1 : 0;
  return LayOutPage(text, from, lineNo, layout, FontWidth);
}

std::vector<std::u32string> RowTexts(const PageLayout& page) {
  std::vector<std::u32string> rows;
  for (const LaidOutRow& row : page.rows) rows.push_back(row.text);
  return rows;
}

const std::u32string kA = U("あ");

TEST(TextLayout, WindowRowHoldsThirtyFullWidthCharacters) {
  const PageLayout page = Lay(Repeat(kA, 31), kWindowLayout);
  ASSERT_EQ(page.rows.size(), 2u);
  EXPECT_EQ(page.rows[0].text, Repeat(kA, 30));
  EXPECT_EQ(page.rows[1].text, kA);
  EXPECT_EQ(page.rows[1].lineNo, 1);
  EXPECT_EQ(page.lineNo, 2);
}

TEST(TextLayout, FullScreenRowHoldsThirtyOneFullWidthCharacters) {
  const PageLayout page = Lay(Repeat(kA, 32), kFullScreenLayout);
  ASSERT_EQ(page.rows.size(), 2u);
  EXPECT_EQ(page.rows[0].text, Repeat(kA, 31));
  EXPECT_EQ(page.rows[1].text, kA);
}

TEST(TextLayout, HalfWidthCharactersCountHalf) {
  const PageLayout page = Lay(U(std::string(61, 'a')), kWindowLayout);
  ASSERT_EQ(page.rows.size(), 2u);
  EXPECT_EQ(page.rows[0].text.size(), 59u);  // 10 + 59 x 12 = 718 > 716
}

TEST(TextLayout, TextThatExactlyFillsThePageLeavesNoRest) {
  const PageLayout page = Lay(Repeat(kA, 90), kWindowLayout);
  EXPECT_EQ(RowTexts(page), (std::vector<std::u32string>{Repeat(kA, 30), Repeat(kA, 30), Repeat(kA, 30)}));
  EXPECT_TRUE(page.pageFull);
  EXPECT_TRUE(page.rest.empty());
  EXPECT_EQ(page.lineNo, 3);
}

TEST(TextLayout, LongTextKeepsItsRestForTheNextPage) {
  const std::u32string text = Repeat(kA, 90) + U("いう");
  const PageLayout first = Lay(text, kWindowLayout);
  EXPECT_TRUE(first.pageFull);
  EXPECT_EQ(first.rest, U("いう"));
  const PageLayout second = Lay(first.rest, kWindowLayout);
  EXPECT_FALSE(second.pageFull);
  EXPECT_EQ(RowTexts(second), std::vector<std::u32string>{U("いう")});
  EXPECT_EQ(second.lineNo, 1);
}

TEST(TextLayout, FullScreenPageFillsAtSixteenRows) {
  const PageLayout page = Lay(Repeat(kA, 31 * 16 + 1), kFullScreenLayout);
  EXPECT_TRUE(page.pageFull);
  EXPECT_EQ(page.rows.size(), 16u);
  EXPECT_EQ(page.rest, kA);
}

TEST(TextLayout, BreakMarkEndsTheRowAndIsDropped) {
  EXPECT_EQ(RowTexts(Lay(U("あ@rい@Rう"), kWindowLayout)), (std::vector<std::u32string>{U("あ"), U("い"), U("う")}));
}

TEST(TextLayout, BreakMarkAtTheStartOfARowIsText) {
  EXPECT_EQ(RowTexts(Lay(U("あ@r@rい"), kWindowLayout)), (std::vector<std::u32string>{U("あ"), U("@rい")}));
  EXPECT_EQ(RowTexts(Lay(Repeat(kA, 30) + U("@r@rい"), kWindowLayout)),
            (std::vector<std::u32string>{Repeat(kA, 30), U("@rい")}));
  // At the start of the text its "@" is the continue mark.
  EXPECT_EQ(RowTexts(Lay(U("@rあ"), kWindowLayout)), std::vector<std::u32string>{U("rあ")});
}

TEST(TextLayout, WidthBreakJustBeforeABreakMarkDropsTheMarkWithoutAnEmptyRow) {
  const PageLayout page = Lay(Repeat(kA, 30) + U("@rい"), kWindowLayout);
  EXPECT_EQ(RowTexts(page), (std::vector<std::u32string>{Repeat(kA, 30), U("い")}));
}

TEST(TextLayout, TrailingBreakMarkCountsAnEmptyRow) {
  const PageLayout page = Lay(U("あ@r"), kWindowLayout);
  EXPECT_EQ(RowTexts(page), (std::vector<std::u32string>{U("あ"), U("")}));
  EXPECT_EQ(page.lineNo, 2);
}

TEST(TextLayout, WidthBreakAtTheLastCharacterCountsAnEmptyRow) {
  const PageLayout page = Lay(Repeat(kA, 30), kWindowLayout);
  EXPECT_EQ(RowTexts(page), (std::vector<std::u32string>{Repeat(kA, 30), U("")}));
  EXPECT_EQ(page.lineNo, 2);
}

TEST(TextLayout, EmptyTextIsOneEmptyRow) {
  const PageLayout page = Lay(U(""), kFullScreenLayout);
  EXPECT_EQ(RowTexts(page), std::vector<std::u32string>{U("")});
  EXPECT_EQ(page.lineNo, 1);
}

TEST(TextLayout, OneProhibitedCharacterJoinsTheRow) {
  const PageLayout page = Lay(Repeat(kA, 30) + U("。い"), kWindowLayout);
  EXPECT_EQ(RowTexts(page), (std::vector<std::u32string>{Repeat(kA, 30) + U("。"), U("い")}));
}

TEST(TextLayout, TwoProhibitedCharactersBothBeginTheNextRow) {
  const PageLayout page = Lay(Repeat(kA, 30) + U("。」い"), kWindowLayout);
  EXPECT_EQ(RowTexts(page), (std::vector<std::u32string>{Repeat(kA, 30), U("。」い")}));
}

TEST(TextLayout, OpeningBracketIsNotPulledBack) {
  const PageLayout page = Lay(Repeat(kA, 30) + U("「い"), kWindowLayout);
  EXPECT_EQ(RowTexts(page), (std::vector<std::u32string>{Repeat(kA, 30), U("「い")}));
}

TEST(TextLayout, ExactlyNineteenLineStartProhibitedCharacters) {
  const std::u32string set = U("。、｡､・･っゃゅょぁぃぅぇぉ！？」）");
  ASSERT_EQ(set.size(), 19u);
  for (char32_t c : set) EXPECT_TRUE(IsLineStartProhibited(c)) << EncodeUtf8(std::u32string(1, c));
  for (char32_t c : U("「（ーッャ…＠@.,!?)ゎ"))
    EXPECT_FALSE(IsLineStartProhibited(c)) << EncodeUtf8(std::u32string(1, c));
}

TEST(TextLayout, ContinueMarks) {
  EXPECT_TRUE(StartsWithContinueMark(U("@あ")));
  EXPECT_TRUE(StartsWithContinueMark(U("＠あ")));
  EXPECT_FALSE(StartsWithContinueMark(U("あ@")));
  EXPECT_FALSE(StartsWithContinueMark(U("")));
  // A full-width mark in the middle is an ordinary character.
  EXPECT_EQ(RowTexts(Lay(U("あ＠い"), kWindowLayout)), std::vector<std::u32string>{U("あ＠い")});
}

TEST(TextLayout, ContinuationOnOrBelowThePageFullRowNeverBreaksThePage) {
  const PageLayout page = Lay(U("@") + Repeat(kA, 61), kWindowLayout, 3);
  EXPECT_FALSE(page.pageFull);
  ASSERT_EQ(page.rows.size(), 3u);
  EXPECT_EQ(page.rows[0].lineNo, 3);
  EXPECT_EQ(page.rows[2].lineNo, 5);
  EXPECT_EQ(page.rows[2].text, kA);
  EXPECT_EQ(page.lineNo, 6);
}

TEST(TextLayout, ContinuationFillsThePageFromTheCurrentRow) {
  const PageLayout page = Lay(U("@") + Repeat(kA, 30) + U("い"), kWindowLayout, 2);
  EXPECT_TRUE(page.pageFull);
  EXPECT_EQ(RowTexts(page), std::vector<std::u32string>{Repeat(kA, 30)});
  EXPECT_EQ(page.rest, U("い"));
}

TEST(TextLayout, TextEndingInsideAMarkIsText) {
  EXPECT_EQ(RowTexts(Lay(U("あ@"), kWindowLayout)), std::vector<std::u32string>{U("あ@")});
  EXPECT_EQ(RowTexts(Lay(U("@"), kWindowLayout)), std::vector<std::u32string>{U("")});
}

// Wrapping between words, on rows of 100 pixels (slack 0) where ASCII is
// 10 wide and kana 20: a row holds ten ASCII characters, and like every row
// it may end with the character that overflows it.
constexpr TextLayout kNarrowRows{0, 0, 0, 100, 4};

int TenAndTwenty(std::u32string_view row) {
  int width = 0;
  for (char32_t c : row) width += IsFullWidth(c) ? 20 : 10;
  return width;
}

std::vector<std::u32string> WordRows(std::string_view utf8, const TextLayout& layout = kNarrowRows) {
  return RowTexts(LayOutPage(U(utf8), 0, 0, layout, TenAndTwenty, WrapRule::kWords));
}

TEST(TextLayout, WordsWrapAtSpacesWhichAreDropped) {
  const PageLayout page =
      LayOutPage(U("the quick brown fox jumps over the lazy dog"), 0, 0, kNarrowRows, TenAndTwenty, WrapRule::kWords);
  EXPECT_EQ(RowTexts(page),
            (std::vector<std::u32string>{U("the quick"), U("brown fox"), U("jumps over"), U("the lazy")}));
  EXPECT_TRUE(page.pageFull);
  EXPECT_EQ(page.rest, U("dog"));
  // A word whose last letter overflows keeps its row; the spaces after it
  // begin neither the next row nor the next page.
  const PageLayout full = LayOutPage(U("overflowed   next"), 0, 0, {0, 0, 0, 100, 1}, TenAndTwenty, WrapRule::kWords);
  EXPECT_EQ(RowTexts(full), std::vector<std::u32string>{U("overflowed")});
  EXPECT_EQ(full.rest, U("next"));
  EXPECT_EQ(WordRows("abcdefghijk   lmn"), (std::vector<std::u32string>{U("abcdefghijk"), U("lmn")}));
  // The same text by characters breaks inside words.
  EXPECT_EQ(RowTexts(LayOutPage(U("the quick brown"), 0, 0, kNarrowRows, TenAndTwenty)),
            (std::vector<std::u32string>{U("the quick b"), U("rown")}));
}

TEST(TextLayout, WordsWiderThanARowBreakWhereTheyOverflow) {
  EXPECT_EQ(WordRows("a supercalifragilistic word"),
            (std::vector<std::u32string>{U("a"), U("supercalifr"), U("agilistic"), U("word")}));
  // Leading spaces stay on a first row, but never make a row of their own.
  EXPECT_EQ(WordRows("   abcdefghijklm"), (std::vector<std::u32string>{U("   abcdefgh"), U("ijklm")}));
  // Break marks break between words as between characters.
  EXPECT_EQ(WordRows("hello@Rworld@r"), (std::vector<std::u32string>{U("hello"), U("world"), U("")}));
  EXPECT_EQ(WordRows("one @r two"), (std::vector<std::u32string>{U("one"), U("two")}));
  EXPECT_EQ(WordRows("abcdefghijk @rnext"), (std::vector<std::u32string>{U("abcdefghijk"), U("next")}));
}

TEST(TextLayout, WordsMixedWithKanaBreakBesideTheKanaWithTheLineStartRule) {
  // No space between a word and kana, yet a row may end there.
  EXPECT_EQ(WordRows("abcdefghijkあい"), (std::vector<std::u32string>{U("abcdefghijk"), U("あい")}));
  // Kana break anywhere; a prohibited character after the break joins the row.
  EXPECT_EQ(WordRows("I said はい。 then left"), (std::vector<std::u32string>{U("I said はい。"), U("then left")}));
  EXPECT_EQ(WordRows("あいうえおかきくけこさしすせそ"),
            (std::vector<std::u32string>{U("あいうえおか"), U("きくけこさし"), U("すせそ")}));
}

// A whole paragraph through the message window in proportional widths: the
// rows give back the text, start and end with words, fit the row (all but
// their last character), and no row could have taken the next word.
TEST(TextLayout, EnglishParagraphFillsTheWindowWordByWord) {
  const std::string paragraph =
      "It was already dark when the train stopped at the little station, and the rain that had followed us "
      "since the coast had turned into a fine, cold mist. Nobody was waiting on the platform. I picked up my "
      "bag, pulled the collar of my coat over my ears and walked towards the only light I could see, a lamp "
      "above the door of the waiting room, where an old man sat reading yesterday's newspaper.";
  auto measure = [](std::u32string_view row) {
    int width = 0;
    for (char32_t c : row) width += CellTextEngine::CharWidth(c, 24, TextFace::kWestern);
    return width;
  };
  std::u32string rest = U(paragraph), rejoined;
  int pages = 0;
  std::vector<std::u32string> rows;
  while (!rest.empty()) {
    const PageLayout page = LayOutPage(rest, 0, 0, kWindowLayout, measure, WrapRule::kWords);
    ++pages;
    for (const LaidOutRow& row : page.rows) rows.push_back(row.text);
    rest = page.rest;
    EXPECT_TRUE(page.pageFull || rest.empty());
  }
  EXPECT_EQ(pages, 2);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::u32string& row = rows[i];
    ASSERT_FALSE(row.empty());
    EXPECT_NE(row.front(), U' ');
    EXPECT_NE(row.back(), U' ');
    EXPECT_LE(kWindowLayout.slack + measure(row.substr(0, row.size() - 1)), kWindowLayout.limit);
    if (i + 1 < rows.size()) {
      const std::u32string nextWord = rows[i + 1].substr(0, rows[i + 1].find(U' '));
      EXPECT_GT(kWindowLayout.slack + measure(row + U" " + nextWord.substr(0, nextWord.size() - 1)),
                kWindowLayout.limit)
          << EncodeUtf8(row);
    }
    rejoined += (i ? U" " : U"") + row;
  }
  EXPECT_EQ(EncodeUtf8(rejoined), paragraph);
}

}  // namespace
}  // namespace pelmot
