// The title greeting: which picture greets the player, and when.
#include <gtest/gtest.h>

#include "flow/greeting.h"
#include "game_fixture.h"
#include "persist/data_files.h"
#include "persist/stamps.h"
#include "platform/common/files.h"

namespace pelmot {
namespace {

using testing::TestGame;

int PictureFor(LocalDateTime quit, LocalDateTime now, int ending = 0) {
  GreetingChoice c = ChooseGreeting(ending, quit, false, now);
  return c.titleAtOnce ? -1 : c.picture;
}

TEST(ChooseGreeting, TheTimeRowsInOrder) {
  const LocalDateTime quit{2026, 12, 6, 10, 0, 0};
  EXPECT_EQ(PictureFor(quit, {2026, 12, 6, 14, 30, 0}), 120);                    // d 0, h 4, H 14
  EXPECT_EQ(PictureFor(quit, {2026, 12, 6, 11, 30, 0}), 125);                    // h 1
  EXPECT_EQ(PictureFor({2026, 12, 6, 22, 0, 0}, {2026, 12, 7, 0, 30, 0}), 122);  // H 0
  EXPECT_EQ(PictureFor({2026, 12, 4, 15, 0, 0}, {2026, 12, 6, 15, 0, 0}), 119);  // d 2
  EXPECT_EQ(PictureFor(quit, {2026, 12, 11, 15, 0, 0}), 116);                    // d 5
  EXPECT_EQ(PictureFor(quit, {2026, 12, 16, 15, 0, 0}), 117);                    // d 10
  EXPECT_EQ(PictureFor(quit, {2026, 12, 26, 15, 0, 0}), 115);                    // d 20
  EXPECT_EQ(PictureFor(quit, {2027, 1, 6, 15, 0, 0}), 121);                      // d 31
  EXPECT_EQ(PictureFor({2026, 12, 6, 0, 0, 0}, {2026, 12, 6, 3, 0, 0}), 125);    // h 3
  EXPECT_EQ(PictureFor({2026, 12, 5, 20, 0, 0}, {2026, 12, 6, 3, 0, 0}), 126);   // H 3
  EXPECT_EQ(PictureFor({2026, 12, 6, 1, 0, 0}, {2026, 12, 6, 12, 0, 0}), 124);   // H 12
  EXPECT_EQ(PictureFor({2026, 12, 6, 1, 0, 0}, {2026, 12, 6, 8, 0, 0}), 123);    // H 8
  EXPECT_EQ(PictureFor({2026, 12, 6, 1, 0, 0}, {2026, 12, 6, 20, 0, 0}), 122);   // H 20
}

TEST(ChooseGreeting, ExactlyThirtyDaysFindsNoRowExceptAfterMidnight) {
  const LocalDateTime quit{2026, 11, 6, 15, 0, 0};
  EXPECT_EQ(PictureFor(quit, {2026, 12, 6, 15, 0, 0}), -1);
  EXPECT_EQ(PictureFor(quit, {2026, 12, 6, 1, 0, 0}), 122);
  EXPECT_EQ(PictureFor({2026, 12, 5, 10, 0, 0}, {2026, 12, 6, 10, 0, 0}), 123);  // d 1, H 10
}

TEST(ChooseGreeting, EndingsComeFirstAndNoStampMeansNoGreeting) {
  const LocalDateTime quit{2026, 12, 6, 10, 0, 0}, now{2026, 12, 6, 11, 0, 0};
  EXPECT_EQ(PictureFor(quit, now, 10), 129);
  EXPECT_EQ(PictureFor(quit, now, 6), 128);
  EXPECT_EQ(PictureFor(quit, now, 1), 127);
  EXPECT_EQ(PictureFor(quit, now, 3), 125);
  EXPECT_EQ(PictureFor(quit, now, 11), 125);
  GreetingChoice none = ChooseGreeting(0, std::nullopt, true, now);
  EXPECT_FALSE(none.titleAtOnce);
  EXPECT_EQ(none.picture, 0);
  EXPECT_EQ(ChooseGreeting(6, std::nullopt, true, now).picture, 128);
}

TEST(GreetingAtTheTitle, AnEndingsGreetingShowsOnceThenTheTimeRows) {
  TestGame t;
  t.Start();
  t.state().EndingNo() = 6;
  t.state().SaveDate[10] = MakeStamp({2026, 12, 6, 10, 0, 0});
  t.clock.Set({2026, 12, 6, 11, 0, 0});
  t.Click(400, 300);
  EXPECT_EQ(t.state().ShownPic, 128);
  EXPECT_EQ(t.state().StepNo[0], 1) << "the greeting waits for an advance";
  EXPECT_EQ(t.state().EndingNo(), 11);
  EXPECT_EQ((*ReadWholeFile(CgSeenPath(t.game())))[135], 11);
  t.Click(400, 300);
  EXPECT_EQ(t.state().ShownPic, 0);
}

TEST(GreetingAtTheTitle, AnyOtherEndingOnlyTurnsIntoEleven) {
  TestGame t;
  t.Start();
  t.state().EndingNo() = 3;
  t.Click(400, 300);  // no stamp: no greeting, the title picture at once
  EXPECT_EQ(t.state().ShownPic, 0);
  EXPECT_EQ(t.state().EndingNo(), 11);
}

TEST(GreetingAtTheTitle, NoRowMeansTheTitlePictureAtOnce) {
  TestGame t;
  t.Start();
  t.state().SaveDate[10] = MakeStamp({2026, 11, 6, 15, 0, 0});
  t.clock.Set({2026, 12, 6, 15, 0, 0});
  t.Click(400, 300);
  EXPECT_EQ(t.state().StepNo[0], 2);
  EXPECT_EQ(t.state().ShownPic, 0);
}

}  // namespace
}  // namespace pelmot
