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

}  // namespace
}  // namespace pelmot
